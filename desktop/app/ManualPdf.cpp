// tamsel-manual-pdf SOURCE.md OUTPUT.pdf: typesets the user manual from its Markdown source
// into an A4 PDF with page numbers. It runs at build time, without a display, so that the
// manual always matches the program it ships with and needs nothing beyond Qt.
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {

/// The manual's look: headings in the program's blue, tables with thin borders, code set
/// apart. Markdown itself carries no styling.
const char* const STYLE = R"(
h1 { color: #244f7a; }
h2 { color: #244f7a; }
h3 { color: #2f5d8a; }
code { font-family: "DejaVu Sans Mono", monospace; }
pre { font-family: "DejaVu Sans Mono", monospace; background-color: #f2f4f7; }
th { background-color: #dde7f0; }
)";

bool typeset(const QString& sourcePath, const QString& outputPath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "tamsel-manual-pdf: cannot read %s\n", qPrintable(sourcePath));
        return false;
    }
    QTextDocument document;
    QFont font("DejaVu Sans");
    font.setPointSizeF(10.0);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(STYLE);
    document.setMarkdown(QString::fromUtf8(source.readAll()));

    QPdfWriter writer(outputPath);
    writer.setTitle("Tamsel User Manual");
    writer.setCreator("Tamsel");
    writer.setResolution(300);
    // No margins of the page itself: printing a document adds margins of 2 cm of its own
    // and puts the page numbers into the bottom one.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    document.print(&writer);
    if (!QFile::exists(outputPath)) {
        std::fprintf(stderr, "tamsel-manual-pdf: cannot write %s\n", qPrintable(outputPath));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tamsel-manual-pdf SOURCE.md OUTPUT.pdf\n");
        return 2;
    }
    // The build machine may have no display; fonts and the PDF need none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return typeset(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
