#include "core/platform/PortalColorScheme.h"
#include "support/FakeDesktopPortal.h"
#include "support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using velmarto::PortalColorScheme;
using velmarto::test::FakeDesktopPortal;
using velmarto::test::PrivateSessionBus;

class TestPortalColorScheme : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_bus = std::make_unique<PrivateSessionBus>();
        if (m_bus->address().isEmpty()) {
            QSKIP("dbus-daemon is not installed");
        }
        QVERIFY(m_bus->connect(u"client"_s));
    }

    void cleanupTestCase() { m_bus.reset(); }

    // First of all: the first connection a process makes is the one that once missed every
    // change.
    void aChangeOnTheDesktopArrivesLive() {
        FakeDesktopPortal portal(m_bus->address(), 2);
        PortalColorScheme scheme(QDBusConnection(u"client"_s));
        QSignalSpy changes(&scheme, &PortalColorScheme::prefersDarkChanged);
        QCOMPARE(scheme.prefersDark(), false);

        portal.changeColorScheme(1);
        QTRY_COMPARE(changes.count(), 1);
        QCOMPARE(scheme.prefersDark(), true);

        portal.changeColorScheme(0);
        QTRY_COMPARE(changes.count(), 2);
        QCOMPARE(scheme.prefersDark(), false);
    }

    void theFirstAnswerDecides_data() {
        QTest::addColumn<uint>("portalValue");
        QTest::addColumn<bool>("prefersDark");
        QTest::newRow("no preference") << 0u << false;
        QTest::newRow("prefer dark") << 1u << true;
        QTest::newRow("prefer light") << 2u << false;
        QTest::newRow("a value the portal may add later") << 7u << false;
    }

    void theFirstAnswerDecides() {
        QFETCH(uint, portalValue);
        QFETCH(bool, prefersDark);
        FakeDesktopPortal portal(m_bus->address(), portalValue);
        QVERIFY(portal.isServing());

        PortalColorScheme scheme(QDBusConnection(u"client"_s));

        QCOMPARE(scheme.prefersDark(), prefersDark);
    }

    void otherSettingsAreIgnored() {
        FakeDesktopPortal portal(m_bus->address(), 0);
        PortalColorScheme scheme(QDBusConnection(u"client"_s));
        QSignalSpy changes(&scheme, &PortalColorScheme::prefersDarkChanged);

        portal.changeOtherSetting(u"org.gnome.desktop.interface"_s, u"color-scheme"_s, 1);
        portal.changeOtherSetting(u"org.freedesktop.appearance"_s, u"accent-color"_s, 1);
        // A real change after the ignored ones proves they were delivered and passed over.
        portal.changeColorScheme(1);

        QTRY_COMPARE(changes.count(), 1);
        QCOMPARE(scheme.prefersDark(), true);
    }

    void withoutAPortalTheDesktopIsLight() {
        PortalColorScheme scheme(QDBusConnection(u"client"_s));
        QCOMPARE(scheme.prefersDark(), false);
    }

    void withoutABusTheDesktopIsLight() {
        PortalColorScheme scheme(QDBusConnection(u"never-connected"_s));
        QCOMPARE(scheme.prefersDark(), false);
    }

    void aPortalThatStartsLaterIsStillHeard() {
        PortalColorScheme scheme(QDBusConnection(u"client"_s));
        QSignalSpy changes(&scheme, &PortalColorScheme::prefersDarkChanged);

        FakeDesktopPortal portal(m_bus->address(), 0);
        QVERIFY(portal.isServing());
        portal.changeColorScheme(1);

        QTRY_COMPARE(changes.count(), 1);
        QCOMPARE(scheme.prefersDark(), true);
    }

private:
    std::unique_ptr<PrivateSessionBus> m_bus;
};

QTEST_GUILESS_MAIN(TestPortalColorScheme)
#include "tst_portalcolorscheme.moc"
