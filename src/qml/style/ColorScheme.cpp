#include "qml/style/ColorScheme.h"

#include <QColor>

namespace velmarto {

using namespace Qt::StringLiterals;

namespace {

// Style.qml's accentTop, for the controls that take their tint from the palette.
const QColor accentTop = QColor::fromRgbF(0.42f, 0.36f, 1.0f);

void setBoth(QPalette& palette, QPalette::ColorRole role, const QColor& color) {
    palette.setColor(QPalette::Active, role, color);
    palette.setColor(QPalette::Inactive, role, color);
}

struct RoleColors {
    QColor window, windowText, base, alternateBase, text, button, buttonText, light, midlight, mid,
        dark, shadow, toolTipBase, toolTipText, placeholderText, link, linkVisited;
    QColor disabledText, disabledBase;
};

QPalette build(const RoleColors& colors) {
    QPalette palette;
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Window, colors.window},
        {QPalette::WindowText, colors.windowText},
        {QPalette::Base, colors.base},
        {QPalette::AlternateBase, colors.alternateBase},
        {QPalette::Text, colors.text},
        {QPalette::Button, colors.button},
        {QPalette::ButtonText, colors.buttonText},
        {QPalette::BrightText, Qt::white},
        {QPalette::Light, colors.light},
        {QPalette::Midlight, colors.midlight},
        {QPalette::Mid, colors.mid},
        {QPalette::Dark, colors.dark},
        {QPalette::Shadow, colors.shadow},
        {QPalette::Highlight, accentTop},
        {QPalette::HighlightedText, Qt::white},
        {QPalette::Link, colors.link},
        {QPalette::LinkVisited, colors.linkVisited},
        {QPalette::ToolTipBase, colors.toolTipBase},
        {QPalette::ToolTipText, colors.toolTipText},
        {QPalette::PlaceholderText, colors.placeholderText},
    };
    for (const auto& [role, color] : roles) {
        setBoth(palette, role, color);
        palette.setColor(QPalette::Disabled, role, color);
    }
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, colors.disabledText);
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, colors.disabledBase);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, colors.mid);
    return palette;
}

} // namespace

std::optional<ColorScheme> forcedColorScheme(const QString& appearance) {
    if (appearance == u"light"_s) {
        return ColorScheme::light;
    }
    if (appearance == u"dark"_s) {
        return ColorScheme::dark;
    }
    return std::nullopt;
}

QPalette schemePalette(ColorScheme scheme) {
    if (scheme == ColorScheme::light) {
        // Qt's own light palette, so light windows look as they always have.
        return build({
            .window = QColor(0xef, 0xef, 0xef),
            .windowText = Qt::black,
            .base = Qt::white,
            .alternateBase = QColor(0xf7, 0xf7, 0xf7),
            .text = Qt::black,
            .button = QColor(0xef, 0xef, 0xef),
            .buttonText = Qt::black,
            .light = Qt::white,
            .midlight = QColor(0xca, 0xca, 0xca),
            .mid = QColor(0xb8, 0xb8, 0xb8),
            .dark = QColor(0x9f, 0x9f, 0x9f),
            .shadow = QColor(0x76, 0x76, 0x76),
            .toolTipBase = QColor(0xff, 0xff, 0xdc),
            .toolTipText = Qt::black,
            .placeholderText = QColor(0, 0, 0, 0x80),
            .link = QColor(0x4a, 0x3d, 0xe0),
            .linkVisited = QColor(0x8a, 0x3d, 0xc8),
            .disabledText = QColor(0xbe, 0xbe, 0xbe),
            .disabledBase = QColor(0xef, 0xef, 0xef),
        });
    }
    // The contrast roles (mid, dark) grow lighter rather than darker, as they must stand out
    // against a dark window: scroll bar handles, frames and pressed states use them.
    return build({
        .window = QColor(0x24, 0x24, 0x26),
        .windowText = QColor(0xf2, 0xf2, 0xf4),
        .base = QColor(0x1b, 0x1b, 0x1d),
        .alternateBase = QColor(0x2c, 0x2c, 0x2e),
        .text = QColor(0xf2, 0xf2, 0xf4),
        .button = QColor(0x36, 0x36, 0x39),
        .buttonText = QColor(0xf2, 0xf2, 0xf4),
        .light = QColor(0x4a, 0x4a, 0x4e),
        .midlight = QColor(0x3e, 0x3e, 0x42),
        .mid = QColor(0x5c, 0x5c, 0x61),
        .dark = QColor(0x8e, 0x8e, 0x93),
        .shadow = Qt::black,
        .toolTipBase = QColor(0x3a, 0x3a, 0x3c),
        .toolTipText = QColor(0xf2, 0xf2, 0xf4),
        .placeholderText = QColor(0xf2, 0xf2, 0xf4, 0x80),
        .link = QColor(0xa0, 0x97, 0xff),
        .linkVisited = QColor(0xc9, 0x8f, 0xff),
        .disabledText = QColor(0x6e, 0x6e, 0x73),
        .disabledBase = QColor(0x24, 0x24, 0x26),
    });
}

QPalette accentTint() {
    QPalette palette;
    palette.setColor(QPalette::Highlight, accentTop);
    return palette;
}

} // namespace velmarto
