#include "platform/vcl/CommandLine.h"

#include "platform/core/AppPaths.h"
#include "platform/vcl/QtSupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

QStringList Arguments() {
    QStringList arguments{QStringLiteral("harbek")};
    for (int i = 1; i <= ParamCount(); ++i)
        arguments << vcl_internal::ToQString(ParamStr(i));
    return arguments;
}

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0;
}

// The value of a toolkit option given on the command line ("-platform xcb"), or empty text.
std::string ToolkitOption(const QStringList& arguments, const char* name) {
    const QString option = QStringLiteral("-") + QLatin1String(name);
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i)
        if (arguments[i] == option || arguments[i] == QStringLiteral("-") + option)
            return vcl_internal::FromQString(arguments[i + 1]);
    return std::string();
}

// The platforms that draw on a desktop need its display; offscreen and the like do not.
bool DisplayMissing(const QStringList& arguments) {
    std::string platform = ToolkitOption(arguments, "platform");
    if (platform.empty() && EnvironmentSet("QT_QPA_PLATFORM")) platform = std::getenv("QT_QPA_PLATFORM");
    const bool desktop =
        platform.empty() || platform.rfind("xcb", 0) == 0 || platform.rfind("wayland", 0) == 0;
    if (!desktop) return false;
    return !EnvironmentSet("DISPLAY") && !EnvironmentSet("WAYLAND_DISPLAY") &&
           ToolkitOption(arguments, "display").empty();
}

} // namespace

int ReadProgramOptions(const TProgramAbout& about) {
    QCommandLineParser parser;
    // "-platform" is one option of the toolkit, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // The program prints its own help, in the user's language.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);

    // The toolkit's options are not known yet: only the program's own are looked at here.
    const QStringList arguments = Arguments();
    parser.parse(arguments);
    if (parser.isSet(help)) {
        std::printf("%s\n", about.Help.c_str());
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", about.Name.c_str(), about.Version.c_str());
        return 0;
    }
    if (DisplayMissing(arguments)) {
        std::fprintf(stderr, "%s\n", about.NoDisplay.c_str());
        return 1;
    }

    // What the toolkit left over must be the program's own.
    vcl_internal::EnsureGuiApplication();
    parser.parse(QCoreApplication::arguments());
    QStringList unknown = parser.unknownOptionNames();
    for (QString& option : unknown)
        option.prepend(option.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"));
    unknown << parser.positionalArguments();
    if (!unknown.isEmpty()) {
        std::string text = about.UnknownArgument;
        if (const auto at = text.find("%s"); at != std::string::npos)
            text.replace(at, 2, vcl_internal::FromQString(unknown.first()));
        std::fprintf(stderr, "%s\n", text.c_str());
        return 1;
    }
    return -1;
}
