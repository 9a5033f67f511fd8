#pragma once
// The program's own options, --help and --version (Qt takes its own, such as -platform, first).
// A start without options opens the window as always.
#include <QString>
#include <QStringList>
#include <optional>

class QCoreApplication;

namespace kibiki::ui {

// What to print, and the exit status, when the command line asks for something other than the
// window.
struct CommandLineReply {
    int nExitCode = 0;
    QString strOut;  // standard output
    QString strErr;  // standard error
};

// True when the arguments ask for help or the version, which need no window system: they are
// answered without connecting to a display, so they work over ssh and in scripts.
bool AsksForTextOnly(int argc, const char* const* argv);

// The reply to the arguments (program name first); nothing when the trainer should start. Help and
// version win over other arguments; an unknown option or a stray argument is an error.
std::optional<CommandLineReply> ParseCommandLine(const QStringList& args, bool bJapanese);

// Whether the user's locale asks for Japanese messages, as gettext reads it: LANGUAGE, unless the
// locale (LC_ALL, else LC_MESSAGES, else LANG) is C or POSIX; else that locale.
bool PrefersJapanese();

// Answers the application's arguments in the user's language: prints the reply and returns its
// exit status, or nothing when the trainer should start.
std::optional<int> AnswerCommandLine(QCoreApplication& app);

// "Kibiki <version>", the version the build was made from.
QString VersionLine();
// What --version prints: the version line, the licence and the lack of warranty.
QString VersionText();
// The licence the program is free software under, as an SPDX name.
QString LicenseName();
// The version alone ("0.1+git317.gc6a927e"): the one the package and --version give.
QString VersionNumber();

}  // namespace kibiki::ui
