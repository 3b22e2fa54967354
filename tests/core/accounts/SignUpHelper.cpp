// Signs up a run of accounts through a Session of its own, as a second Velmarto process would.
// Arguments: the preference file, a name prefix, the number of accounts. Exits 0 when every
// sign-up was confirmed, 1 with the session's message otherwise.
#include "FakeCodeDelivery.h"
#include "core/accounts/KeychainSecretStore.h"
#include "core/accounts/Session.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace velmarto;

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 4) {
        return 2;
    }
    const PreferenceStore preferences(arguments.at(1));
    const auto delivery = std::make_shared<test::FakeCodeDelivery>();
    Session session(SessionDependencies{
        .accounts = AccountStore(std::make_shared<KeychainSecretStore>(), preferences),
        .preferences = preferences,
        .delivery = delivery,
        .mail = MailProfile::freedesktop(),
        .clock = [] { return QDateTime::currentDateTimeUtc(); },
        .codeGenerator = [] { return 123456U; },
    });
    const int count = arguments.at(3).toInt();
    for (int index = 0; index < count; ++index) {
        const QString email = u"%1-%2@example.com"_s.arg(arguments.at(2)).arg(index);
        if (!session.beginSignUp(email, u"secret"_s) ||
            !session.verify(delivery->requests.last().code)) {
            QTextStream(stderr) << email << u": "_s << session.lastError() << Qt::endl;
            return 1;
        }
        session.signOut();
    }
    return 0;
}
