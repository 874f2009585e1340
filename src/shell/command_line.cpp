#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace vorpane {

namespace {

struct Options {
    QCommandLineOption data { QStringLiteral("data"), QStringLiteral("Carpeta de los archivos de datos."),
        QStringLiteral("DIR") };
    QCommandLineOption settings { QStringLiteral("settings"),
        QStringLiteral("Archivo de configuración en lugar del del usuario."), QStringLiteral("FILE") };
    QCommandLineOption seed { QStringLiteral("seed"),
        QStringLiteral("Semilla de los números aleatorios (repite las tiradas)."), QStringLiteral("N") };
    QCommandLineOption noSplash { QStringLiteral("nosplash"),
        QStringLiteral("Sin la ventana de bienvenida.") };
    QCommandLineOption newInvestigator { QStringLiteral("new"),
        QStringLiteral("Crea un investigador del archivo de reglas y la época (0, 1 o 2)."),
        QStringLiteral("RULEFILE ERA") };
    QCommandLineOption wizard { QStringLiteral("wizard"),
        QStringLiteral("Con --new: crea el investigador con el asistente.") };
    QCommandLineOption help { { QStringLiteral("h"), QStringLiteral("help") },
        QStringLiteral("Muestra esta ayuda y termina.") };
    QCommandLineOption version { { QStringLiteral("v"), QStringLiteral("version") },
        QStringLiteral("Muestra la versión y termina.") };
    QCommandLineOption print { { QStringLiteral("p"), QStringLiteral("print") },
        QStringLiteral("Imprime el archivo en la impresora predeterminada y termina."),
        QStringLiteral("FILE") };

    void addTo(QCommandLineParser& parser)
    {
        parser.setApplicationDescription(
            QStringLiteral("Vorpane: fichas de investigadores de Zhaldor. Abre los archivos dados."));
        parser.addOptions({ data, settings, seed, noSplash, newInvestigator, wizard, print, help, version });
        parser.addPositionalArgument(
            QStringLiteral("FILE"), QStringLiteral("Documentos que abrir."), QStringLiteral("[FILE...]"));
    }
};

// --new takes two values; QCommandLineParser knows options of one, so the era is taken out here.
bool takeNewArguments(QStringList& arguments, CommandLine& line)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--"))
            return true;
        if (arg != QLatin1String("--new") && arg != QLatin1String("-new"))
            continue;
        if (line.newInvestigator) {
            line.error = QStringLiteral("--new sólo se puede dar una vez.");
            return false;
        }
        if (i + 2 >= arguments.size()) {
            line.error = QStringLiteral("--new necesita un archivo de reglas y una época (0, 1 o 2).");
            return false;
        }
        bool isNumber = false;
        const int era = arguments[i + 2].toInt(&isNumber);
        if (!isNumber || era < 0 || era > 2) {
            line.error
                = QStringLiteral("La época de --new debe ser 0, 1 o 2, no «%1».").arg(arguments[i + 2]);
            return false;
        }
        line.newInvestigator = true;
        line.ruleFile = arguments[i + 1];
        line.era = era;
        arguments.remove(i, 3);
        --i;
    }
    return true;
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    QStringList rest = arguments.isEmpty() ? QStringList { QStringLiteral("vorpane") } : arguments;
    if (!takeNewArguments(rest, line))
        return line;

    QCommandLineParser parser;
    Options options;
    options.addTo(parser);
    if (!parser.parse(rest)) {
        line.error = parser.errorText();
        return line;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        line.help = true;
        return line;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        line.version = true;
        return line;
    }
    line.dataDir = parser.value(options.data);
    line.settingsFile = parser.value(options.settings);
    if (parser.isSet(options.seed)) {
        bool isNumber = false;
        const uint seed = parser.value(options.seed).toUInt(&isNumber);
        if (!isNumber) {
            line.error = QStringLiteral("--seed necesita un número entero no negativo.");
            return line;
        }
        line.seed = seed;
    }
    line.splash = !parser.isSet(options.noSplash);
    line.wizard = parser.isSet(options.wizard);
    if (line.wizard && !line.newInvestigator) {
        line.error = QStringLiteral("--wizard sólo vale junto con --new.");
        return line;
    }
    line.printFile = parser.value(options.print);
    if (parser.isSet(options.print) && line.printFile.isEmpty()) {
        line.error = QStringLiteral("--print necesita un archivo.");
        return line;
    }
    line.files = parser.positionalArguments();
    return line;
}

QString CommandLine::helpText()
{
    QCommandLineParser parser;
    Options options;
    options.addTo(parser);
    // Parsed before the application exists, so Qt knows neither the program's name nor Spanish.
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("vorpane"));
    text.replace(QRegularExpression(QStringLiteral("^Usage:")), QStringLiteral("Uso:"));
    text.replace(QStringLiteral(" [options] "), QStringLiteral(" [opciones] "));
    text.replace(QStringLiteral("\nOptions:\n"), QStringLiteral("\nOpciones:\n"));
    text.replace(QStringLiteral("\nArguments:\n"), QStringLiteral("\nArgumentos:\n"));
    return text;
}

} // namespace vorpane
