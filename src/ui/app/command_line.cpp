#include "ui/app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTranslator>
#include <cstdio>
#include <cstring>

#include "ui/app/application.h"

namespace kibiki::ui {
namespace {

struct Texts {
    const char* pszDescription;
    const char* pszHelp;
    const char* pszVersion;
    const char* pszStray;
    const char* pszTryHelp;
};

constexpr Texts kEnglish = {
    "Touch-typing trainer for the Japanese (JIS) keyboard.\n"
    "Without options it opens the practice window.",
    "Show this help and exit.",
    "Show the version and exit.",
    "Unexpected argument: %1",
    "Try 'kibiki --help' for more information.",
};

constexpr Texts kJapanese = {
    "日本語（JIS）キーボードのタッチタイピング練習。\n"
    "オプションなしで起動すると練習ウィンドウを開きます。",
    "このヘルプを表示して終了します。",
    "バージョンを表示して終了します。",
    "余分な引数があります: %1",
    "詳しくは 'kibiki --help' を参照してください。",
};

QString EnvOf(const char* pszName) { return qEnvironmentVariable(pszName); }

// Qt's usage line names the invoking path (a build tree, a symlink); the user knows the program as kibiki.
QString HelpNamingTheProgram(QString strHelp) {
    const QString strExe = QCoreApplication::arguments().value(0);
    const qsizetype nLineEnd = strHelp.indexOf(u'\n');
    const qsizetype nAt = strExe.isEmpty() ? -1 : QStringView(strHelp).left(nLineEnd).indexOf(strExe);
    if (nAt >= 0) strHelp.replace(nAt, strExe.size(), QStringLiteral("kibiki"));
    return strHelp;
}

}  // namespace

bool AsksForTextOnly(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* psz : {"-h", "--help", "-v", "--version"})
            if (std::strcmp(argv[i], psz) == 0) return true;
    return false;
}

std::optional<CommandLineReply> ParseCommandLine(const QStringList& args, bool bJapanese) {
    const Texts& t = bJapanese ? kJapanese : kEnglish;
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(t.pszDescription));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString::fromUtf8(t.pszHelp));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QString::fromUtf8(t.pszVersion));
    parser.addOption(help);
    parser.addOption(version);
    const bool bParsed = parser.parse(args);

    if (parser.isSet(help)) return CommandLineReply{0, HelpNamingTheProgram(parser.helpText()), {}};
    if (parser.isSet(version)) return CommandLineReply{0, VersionText(), {}};
    QString strError;
    if (!bParsed) strError = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        strError = QString::fromUtf8(t.pszStray).arg(parser.positionalArguments().constFirst());
    if (strError.isEmpty()) return std::nullopt;
    return CommandLineReply{1, {}, QStringLiteral("kibiki: ") + strError + u'\n' + QString::fromUtf8(t.pszTryHelp) + u'\n'};
}

bool PrefersJapanese() {
    QString strLocale = EnvOf("LC_ALL");
    if (strLocale.isEmpty()) strLocale = EnvOf("LC_MESSAGES");
    if (strLocale.isEmpty()) strLocale = EnvOf("LANG");
    if (strLocale.isEmpty() || strLocale == u"C" || strLocale.startsWith(u"C.") || strLocale == u"POSIX")
        return false;
    const QString strLanguage = EnvOf("LANGUAGE").section(u':', 0, 0);
    return (strLanguage.isEmpty() ? strLocale : strLanguage).startsWith(u"ja");
}

std::optional<int> AnswerCommandLine(QCoreApplication& app) {
    const bool bJapanese = PrefersJapanese();
    QTranslator translator;  // only while parsing: the window sets up its own texts
    if (bJapanese && LoadJapaneseQtTexts(translator)) app.installTranslator(&translator);
    const std::optional<CommandLineReply> reply = ParseCommandLine(app.arguments(), bJapanese);
    if (!reply) return std::nullopt;
    std::fputs(reply->strOut.toLocal8Bit().constData(), stdout);
    std::fputs(reply->strErr.toLocal8Bit().constData(), stderr);
    return reply->nExitCode;
}

QString VersionLine() { return QStringLiteral("Kibiki " KIBIKI_VERSION); }

QString LicenseName() { return QStringLiteral("GPL-3.0-or-later"); }

QString VersionText() {
    return VersionLine() + QStringLiteral("\nLicense ") + LicenseName() +
           QStringLiteral(": GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n");
}

QString VersionNumber() { return QStringLiteral(KIBIKI_VERSION); }

}  // namespace kibiki::ui
