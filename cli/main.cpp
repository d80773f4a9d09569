// orvane-batch: applies one effect to a picture file without a window. INPUT is read as the
// editor opens pictures: one of its ten file types, by the ending of the name.
//
//   orvane-batch [--time] [--quality=N] INPUT OUTPUT EFFECT [NAME=VALUE ...]
//   orvane-batch --help | --version
//
// Exit status: 0 done; 2 bad usage (message names the culprit); 1 the input cannot be read or
// the output cannot be written (message names the file).
#include "cli/terminal_progress.h"
#include "documents/picture_writer.h"
#include "effects/effect_catalog.h"
#include "documents/image_loader.h"
#include "orvane_version.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>
#include <optional>

namespace {

using namespace orv;

constexpr int kDone = 0;
constexpr int kFileFailure = 1;
constexpr int kUsage = 2;

const char* const kUsageLine =
    "usage: orvane-batch [--time] [--quality=N] INPUT OUTPUT EFFECT [NAME=VALUE ...]";

int Fail(int status, const QString& message)
{
    std::fprintf(stderr, "orvane-batch: %s\n", qPrintable(message));
    return status;
}

struct Request {
    bool time = false;
    int quality = 85;
    QString input;
    QString output;
    SaveFormat format = SaveFormat::Other;
    const BatchEffect* effect = nullptr;
    EffectParams params;
};

// The format OUTPUT is written in: by the last three characters of its name as the editor
// saves, and JPEG also for a name ending in .jpeg.
SaveFormat OutputFormat(const QString& output)
{
    if (output.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive)) return SaveFormat::Jpeg;
    return SaveFormatOf(output);
}

// Reads the command line into *request; on a usage error returns its message.
std::optional<QString> ParseArguments(const QStringList& args, Request* request)
{
    QStringList positional;
    for (const QString& arg : args) {
        if (!positional.isEmpty() || !arg.startsWith(QLatin1String("--"))) {
            positional << arg;
        } else if (arg == QLatin1String("--time")) {
            request->time = true;
        } else if (arg.startsWith(QLatin1String("--quality="))) {
            const QString value = arg.mid(10);
            bool ok = false;
            const int quality = value.toInt(&ok);
            if (!ok || quality < 0 || quality > 100)
                return QStringLiteral("--quality must be a whole number from 0 to 100, not \"%1\"").arg(value);
            request->quality = quality;
        } else {
            return QStringLiteral("unknown option %1").arg(arg);
        }
    }
    if (positional.size() < 3) return QString::fromLatin1(kUsageLine);

    request->input = positional[0];
    request->output = positional[1];
    request->format = OutputFormat(request->output);
    if (request->format == SaveFormat::Other)
        return QStringLiteral("the output \"%1\" must end in .bmp, .jpg, .jpeg or .png").arg(request->output);

    request->effect = FindBatchEffect(positional[2]);
    if (!request->effect) return QStringLiteral("unknown effect \"%1\"").arg(positional[2]);

    for (const QString& pair : positional.mid(3)) {
        const qsizetype eq = pair.indexOf(u'=');
        const QString name = pair.left(eq);
        if (eq <= 0) return QStringLiteral("parameter \"%1\" is not in the form NAME=VALUE").arg(pair);
        if (request->params.contains(name))
            return QStringLiteral("parameter \"%1\" is given twice").arg(name);
        request->params.insert(name, pair.mid(eq + 1));
    }
    return std::nullopt;
}

// Appends `words` to `text` after `indent` columns, breaking lines before column 80.
void AppendWrapped(QString* text, int indent, const QStringList& words)
{
    int column = indent;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (i > 0 && column + 1 + word.size() > 79) {
            *text += u'\n' + QString(indent, u' ');
            column = indent;
        } else if (i > 0) {
            *text += u' ';
            ++column;
        }
        *text += word;
        column += int(word.size());
    }
    *text += u'\n';
}

// The usage: the options, then every effect of the catalogue with its parameters.
QString HelpText()
{
    QString text = QString::fromLatin1(kUsageLine) + QStringLiteral(
        "\n       orvane-batch --help | --version\n"
        "\n"
        "Applies one effect to a picture file without a window, as the editor does.\n"
        "\n"
        "  INPUT          a picture of a type the editor opens\n"
        "  OUTPUT         by its ending: .bmp (24-bit bitmap), .jpg or .jpeg (JPEG),\n"
        "                 .png (PNG)\n"
        "  --quality=N    JPEG quality 0..100 (85)\n"
        "  --time         print effect_ms=<milliseconds> of the effect on standard error\n"
        "  --help         print this text\n"
        "  --version      print the version\n"
        "\n"
        "Effects and their parameters, each with its default in parentheses:\n");
    constexpr int kParamsColumn = 18;
    for (const BatchEffect& effect : BatchEffects()) {
        const QString name = QStringLiteral("  ") + effect.name;
        if (effect.params.isEmpty()) {
            text += name + u'\n';
            continue;
        }
        text += name.leftJustified(kParamsColumn - 1) + u' ';
        AppendWrapped(&text, kParamsColumn, effect.params);
    }
    text += QStringLiteral(
        "\n"
        "A parameter left out takes its default; one without a default must be given.\n"
        "TEXT is read as the effect's dialog reads its text box. COLORREF is a decimal\n"
        "0x00BBGGRR (red in the low byte). TEXT[%] is pixels, or with % a percentage of\n"
        "the picture's side; a resize side left out follows the other in proportion.\n"
        "\n"
        "Exit status: 0 done; 1 INPUT cannot be read or OUTPUT cannot be written;\n"
        "2 bad usage.\n");
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    // --help and --version win over everything else on the line, wherever they stand.
    if (args.contains(QLatin1String("--help"))) {
        std::fputs(qPrintable(HelpText()), stdout);
        return kDone;
    }
    if (args.contains(QLatin1String("--version"))) {
        std::puts("orvane-batch (Orvane) " ORVANE_VERSION_TEXT);
        return kDone;
    }
    Request request;
    if (const auto usage = ParseArguments(args, &request)) return Fail(kUsage, *usage);
    // The effect's own parameter reader names unknown or unusable parameters; an effect
    // without one takes none.
    const BatchEffect& effect = *request.effect;
    if (!effect.check && !request.params.isEmpty())
        return Fail(kUsage, QStringLiteral("effect \"%1\" has no parameter \"%2\"")
                                .arg(effect.name, request.params.firstKey()));
    if (QString bad; effect.check && !effect.check(request.params, &bad)) return Fail(kUsage, bad);

    DecodedPicture decoded = ReadPictureFile(request.input);
    if (!decoded.ok()) return Fail(kFileFailure, decoded.error);

    QImage image = std::move(decoded.image);
    QString error;
    qint64 elapsedNs = 0;
    {
        TerminalProgress progress;
        QElapsedTimer clock;
        clock.start();
        bool ran = false;
        try {
            ran = request.effect->run(image, request.params, &progress, &error);
        } catch (const std::bad_alloc&) {
            return Fail(kFileFailure, QStringLiteral("not enough memory to apply %1 to \"%2\"")
                                          .arg(request.effect->name, request.input));
        }
        elapsedNs = clock.nsecsElapsed();
        if (!ran) return Fail(kUsage, error);
    }
    if (request.time) std::fprintf(stderr, "effect_ms=%.3f\n", elapsedNs / 1e6);

    const bool written = WritePictureFile(image, request.output, request.format, request.quality, &error);
    if (!written) return Fail(kFileFailure, error);
    return kDone;
}
