#include "core/platform/MailProfile.h"

namespace velmarto {

using namespace Qt::StringLiterals;

MailProfile MailProfile::macOS() {
    MailProfile profile;
    profile.transport = Transport::mailAppleScript;
    profile.program = u"/usr/bin/osascript"_s;
    profile.noAccountNote =
        u"No account is set up in the macOS Mail app, so the email couldn't be sent. Add one in "
        u"System Settings → Internet Accounts, or use the code below."_s;
    profile.notPermittedNote =
        u"Velmarto needs permission to send through Mail. Allow it under System Settings → "
        u"Privacy & Security → Automation, then tap Resend. Meanwhile, use the code below."_s;
    profile.failedNote =
        u"Mail couldn't send the email automatically. Use the code below to continue."_s;
    return profile;
}

MailProfile MailProfile::freedesktop() {
    MailProfile profile;
    profile.transport = Transport::sendmail;
    profile.program = u"/usr/sbin/sendmail"_s;
    profile.noAccountNote =
        u"No local mail transport is set up on this computer, so the email couldn't be sent. "
        u"Install one that provides sendmail with your package manager, or use the code below."_s;
    profile.notPermittedNote =
        u"Velmarto needs permission to send through the local mail transport. Ask the "
        u"administrator of this computer to allow it, then tap Resend. Meanwhile, use the code "
        u"below."_s;
    profile.failedNote = u"The local mail transport couldn't send the email automatically. Use the "
                         u"code below to continue."_s;
    return profile;
}

} // namespace velmarto
