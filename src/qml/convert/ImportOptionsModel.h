#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQmlIntegration>

namespace velmarto {

class Preferences;

// The "Import options" section of the Convert tab: what each option is called and does, the
// choices it offers, and the stored choice of each. Choices go straight into the preferences,
// which keep only values an option offers.
class ImportOptionsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Built by the Convert tab's model")

    // One map per option: name, title, summary (one line on what it does), and the values with
    // the titles shown for them.
    Q_PROPERTY(QVariantList options READ options CONSTANT)
    // The chosen value of each option, by name.
    Q_PROPERTY(QVariantMap values READ values NOTIFY valuesChanged)
    // The section is open; it starts closed in every window.
    Q_PROPERTY(bool expanded READ expanded WRITE setExpanded NOTIFY expandedChanged)

public:
    explicit ImportOptionsModel(Preferences* preferences, QObject* parent = nullptr);

    QVariantList options() const { return m_options; }
    QVariantMap values() const;
    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded);

    Q_INVOKABLE void choose(const QString& name, const QString& value);

signals:
    void valuesChanged();
    void expandedChanged();

private:
    Preferences* m_preferences;
    QVariantList m_options;
    bool m_expanded = false;
};

} // namespace velmarto
