// The card is read back from the PDF with poppler (pdftotext -bbox for word boxes per page,
// pdftoppm for pixels), so these tests check what a reader of the file gets, not which drawing
// calls were made.
#include "core/dope_card_pdf.h"

#include <QFile>
#include <QImage>
#include <QPainterPath>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace kavrino;

namespace {

// DejaVu Sans Mono's ascent and descent (hhea: 1901 and 483 of 2048 units per em). poppler
// boxes a word from ascent above to descent below its baseline, so a box gives back both the
// baseline and the font size.
constexpr double fontAscent = 1901.0 / 2048;
constexpr double fontDescent = 483.0 / 2048;
constexpr double pageHeight = 792;

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;  // pdftotext's box, y down from the top of the page

    double size() const { return (yMax - yMin) / (fontAscent + fontDescent); }
    double baseline() const { return pageHeight - (yMin + fontAscent * size()); }  // PDF y, upward
};

struct Page {
    double width = 0, height = 0;
    std::vector<Word> words;

    const Word* find(const QString& text) const {
        for (const Word& w : words)
            if (w.text == text) return &w;
        return nullptr;
    }
    // The words on one baseline, left to right.
    std::vector<Word> line(double baseline) const {
        std::vector<Word> found;
        for (const Word& w : words)
            if (std::abs(w.baseline() - baseline) < 0.05) found.push_back(w);
        std::sort(found.begin(), found.end(), [](const Word& a, const Word& b) { return a.xMin < b.xMin; });
        return found;
    }
};

QString tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

#define REQUIRE_POPPLER()                                                                                   \
    if (tool("pdftotext").isEmpty() || tool("pdftoppm").isEmpty())                                         \
    GTEST_SKIP() << "pdftotext/pdftoppm (poppler-utils) are not installed; cannot read the card back"

// Writes the PDF into `dir` and returns its path, or nothing when it cannot.
QString save(const QByteArray& pdf, const QTemporaryDir& dir) {
    const QString path = dir.filePath("card.pdf");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()) return {};
    return path;
}

// The pages of a PDF as pdftotext -bbox reads them; empty when that fails.
std::vector<Page> readBack(const QByteArray& pdf) {
    QTemporaryDir dir;
    const QString input = save(pdf, dir), output = dir.filePath("card.html");
    if (input.isEmpty() || QProcess::execute(tool("pdftotext"), {"-bbox", input, output}) != 0) return {};
    QFile html(output);
    if (!html.open(QIODevice::ReadOnly)) return {};
    std::vector<Page> pages;
    QXmlStreamReader xml(&html);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto number = [&](const char* name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
        if (xml.name() == QLatin1String("page")) {
            pages.push_back({number("width"), number("height"), {}});
        } else if (xml.name() == QLatin1String("word") && !pages.empty()) {
            Word w{{}, number("xMin"), number("yMin"), number("xMax"), number("yMax")};
            w.text = xml.readElementText();
            pages.back().words.push_back(w);
        }
    }
    return pages;
}

// The first page in grey at `dpi`, as pdftoppm rasterises it.
QImage rasterise(const QByteArray& pdf, int dpi) {
    QTemporaryDir dir;
    const QString input = save(pdf, dir), prefix = dir.filePath("page");
    const QStringList args{"-gray", "-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", input, prefix};
    if (input.isEmpty() || QProcess::execute(tool("pdftoppm"), args) != 0) return {};
    return QImage(prefix + ".pgm");
}

// Ink width of `text` in DejaVu Sans Mono (bold or regular) at `points`, from the glyph outlines
// of the font file at its design size (2048 units per em) and its advances.
double inkWidth(const QString& text, double points, bool bold = false) {
    const auto load = [](const char* file) {
        QFile ttf(QStringLiteral("/usr/share/fonts/truetype/dejavu/") + QLatin1String(file));
        return ttf.open(QIODevice::ReadOnly) ? QRawFont(ttf.readAll(), 2048) : QRawFont();
    };
    static const QRawFont regular = load("DejaVuSansMono.ttf"), boldFace = load("DejaVuSansMono-Bold.ttf");
    const QRawFont& font = bold ? boldFace : regular;
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    double x = 0, left = 1e9, right = -1e9;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const QRectF box = font.pathForGlyph(glyphs[i]).boundingRect();
        if (!box.isEmpty()) {
            left = std::min(left, x + box.left());
            right = std::max(right, x + box.right());
        }
        x += advances[i].x();
    }
    return (right - left) * points / 2048;
}

double columnRightEdge(int column) { return 48 + column * 516.0 / 7; }

DopeCardPDF::Meta sampleMeta() {
    return {"Kavrino DOPE Card", "Hornady 140 gr ELD Match", 2650, 0.462, "G1", 100, 1.8,
            QString::fromUtf8("59°F · 29.92 inHg · 0 ft · 10 mph @ 90°")};
}

// Rows every 25 yd with figures of plausible size and sign.
std::vector<TrajectoryPoint> samplePoints(int count) {
    std::vector<TrajectoryPoint> points;
    for (int i = 0; i < count; ++i) {
        TrajectoryPoint p;
        p.range = 25.0 * i;
        p.velocity = 2650 - 1.6 * p.range;
        p.energy = 140 * p.velocity * p.velocity / 450436;
        p.dropMOA = 0.004 * (p.range - 100) * (p.range / 100 + 1);
        p.dropMil = p.dropMOA * 1.047 / 3.6;
        p.windDriftMOA = 0.0015 * p.range;
        p.windDriftMil = p.windDriftMOA * 1.047 / 3.6;
        points.push_back(p);
    }
    return points;
}

}  // namespace

TEST(DopeCardPDF, BreaksPagesAfter36And43Rows) {
    REQUIRE_POPPLER();
    struct Row {
        int points;
        std::vector<int> rowsPerPage;
    };
    const std::vector<Row> rows = {{0, {0}},        {1, {1}},         {36, {36}},          {37, {36, 1}},
                                   {79, {36, 43}},  {80, {36, 43, 1}}, {200, {36, 43, 43, 43, 35}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.points);
        const std::vector<Page> pages = readBack(DopeCardPDF::render(sampleMeta(), samplePoints(row.points)));
        ASSERT_EQ(pages.size(), row.rowsPerPage.size());
        int printed = 0;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const Page& page = pages[i];
            EXPECT_EQ(page.width, 612);
            EXPECT_EQ(page.height, 792);
            // One range cell per row, in the first column; ranges run on across pages.
            const double firstBaseline = i == 0 ? 621.5 : 734.5;
            const int count = row.rowsPerPage[i];
            for (int r = 0; r < count; ++r) {
                const std::vector<Word> line = page.line(firstBaseline - 16 * r);
                ASSERT_EQ(line.size(), 7u) << "page " << i + 1 << " row " << r + 1;
                EXPECT_EQ(line[0].text, QString::number(25 * (printed + r)));
            }
            printed += count;
            // Nothing but rows on later pages: no title, no column titles.
            const std::size_t heading = i == 0 ? 3 + 5 + 12 + 12 + 11 : 0;  // words in the heading
            EXPECT_EQ(page.words.size(), heading + 7u * count) << "page " << i + 1;
            EXPECT_EQ(page.find("RANGE") != nullptr, i == 0);
            EXPECT_EQ(page.find("Kavrino") != nullptr, i == 0);
        }
    }
}

TEST(DopeCardPDF, DrawsTheHeadingAtItsBaselinesAndSizes) {
    REQUIRE_POPPLER();
    const std::vector<Page> pages = readBack(DopeCardPDF::render(sampleMeta(), samplePoints(1)));
    ASSERT_EQ(pages.size(), 1u);
    struct Line {
        const char* name;
        double baseline;
        double size;
        QStringList words;
    };
    const std::vector<Line> lines = {
        {"title", 724, 20, {"Kavrino", "DOPE", "Card"}},
        {"load", 701, 13, {"Hornady", "140", "gr", "ELD", "Match"}},
        {"figures", 683, 10, {"MV", "2650", "fps", "BC", "0.462", "G1", "Zero", "100", "yd", "SH", "1.80", "in"}},
        {"conditions", 669, 10, QString::fromUtf8("59°F · 29.92 inHg · 0 ft · 10 mph @ 90°").split(' ')},
        {"column titles", 640, 9, {"RANGE", "VEL", "DROP", "MOA", "DROP", "MIL", "WIND", "MOA", "WIND", "MIL", "ENERGY"}},
        {"first row", 621.5, 9.5, {"0", "2650", "-0.4", "-0.12", "0.0", "0.00", "2183"}},
    };
    for (const Line& expected : lines) {
        SCOPED_TRACE(expected.name);
        const std::vector<Word> line = pages[0].line(expected.baseline);
        QStringList texts;
        for (const Word& w : line) {
            texts << w.text;
            EXPECT_NEAR(w.size(), expected.size, 0.01) << w.text.toStdString();
        }
        EXPECT_EQ(texts, expected.words);
        if (expected.baseline > 660) {
            ASSERT_FALSE(line.empty());
            EXPECT_NEAR(line.front().xMin, 48, 0.01);
        }
    }
}

// Three spaces between the groups of the figures line: one advance of the 10 pt face is
// 1233/2048 × 10 = 6.02 pt.
TEST(DopeCardPDF, SeparatesTheFigureGroupsByThreeSpaces) {
    REQUIRE_POPPLER();
    const std::vector<Page> pages = readBack(DopeCardPDF::render(sampleMeta(), {}));
    ASSERT_EQ(pages.size(), 1u);
    const std::vector<Word> line = pages[0].line(683);
    ASSERT_EQ(line.size(), 12u);
    const double advance = 1233.0 / 2048 * 10;
    for (std::size_t i = 1; i < line.size(); ++i) {
        SCOPED_TRACE(line[i].text.toStdString());
        const bool groupStart = line[i].text == "BC" || line[i].text == "Zero" || line[i].text == "SH";
        EXPECT_NEAR(line[i].xMin - line[i - 1].xMax, (groupStart ? 3 : 1) * advance, 0.02);
    }
}

TEST(DopeCardPDF, EndsEveryTableTextAtItsColumnEdgeByInkWidth) {
    REQUIRE_POPPLER();
    std::vector<TrajectoryPoint> points(4);
    points[0].range = 5, points[0].velocity = 3012.5, points[0].dropMOA = -12.345, points[0].dropMil = -3.5921,
    points[0].windDriftMOA = 0.04, points[0].windDriftMil = 0.004, points[0].energy = 2821.49;
    points[1].range = 1000, points[1].velocity = 999.5, points[1].dropMOA = 0.05, points[1].dropMil = 111.115,
    points[1].windDriftMOA = -7.25, points[1].windDriftMil = -0.126, points[1].energy = 12345;
    points[2].range = 2000.4, points[2].velocity = 87, points[2].dropMOA = 1234.56, points[2].dropMil = -0.004,
    points[2].windDriftMOA = 11.1, points[2].windDriftMil = 7, points[2].energy = 0.4;
    points[3].range = 150, points[3].velocity = 2480, points[3].dropMOA = 1.1, points[3].dropMil = 0.32,
    points[3].windDriftMOA = -1.1, points[3].windDriftMil = -0.32, points[3].energy = 1911;
    const std::vector<QStringList> expected = {
        {"5", "3012", "-12.3", "-3.59", "0.0", "0.00", "2821"},  // 3012.5 rounds to even, as printf
        {"1000", "1000", "0.1", "111.11", "-7.2", "-0.13", "12345"},
        {"2000", "87", "1234.6", "-0.00", "11.1", "7.00", "0"},
        {"150", "2480", "1.1", "0.32", "-1.1", "-0.32", "1911"},
    };
    const std::vector<Page> pages = readBack(DopeCardPDF::render(sampleMeta(), points));
    ASSERT_EQ(pages.size(), 1u);

    // Column titles (9 pt) and cells (9.5 pt): position + ink width = right edge − 8, to the
    // precision pdftotext prints (the ink is measured on the outlines, not on device pixels).
    const std::vector<Word> titles = pages[0].line(640);
    ASSERT_EQ(titles.size(), 11u);
    const QStringList titleTexts{"RANGE", "VEL", "DROP MOA", "DROP MIL", "WIND MOA", "WIND MIL", "ENERGY"};
    const std::array<std::size_t, 7> firstWord{0, 1, 2, 4, 6, 8, 10};
    for (int k = 1; k <= 7; ++k) {
        const QString& title = titleTexts[k - 1];
        SCOPED_TRACE(title.toStdString());
        const Word& first = titles[firstWord[k - 1]];
        EXPECT_EQ(first.text, title.section(' ', 0, 0));
        EXPECT_NEAR(first.xMin + inkWidth(title, 9, true), columnRightEdge(k) - 8, 0.002);
    }
    for (std::size_t r = 0; r < expected.size(); ++r) {
        const std::vector<Word> line = pages[0].line(621.5 - 16 * r);
        ASSERT_EQ(line.size(), 7u);
        for (int k = 1; k <= 7; ++k) {
            const Word& cell = line[k - 1];
            SCOPED_TRACE(cell.text.toStdString());
            EXPECT_EQ(cell.text, expected[r][k - 1]);
            EXPECT_NEAR(cell.xMin + inkWidth(cell.text, 9.5), columnRightEdge(k) - 8, 0.002);
        }
    }
}

// The rule lies between the column titles and the first row: 0.5 pt of gray from x 48 to 564 at
// y 635, clear of the capitals (baseline 640, 6.6 pt tall) and of the first row's digits.
TEST(DopeCardPDF, RulesOffTheColumnTitlesBelowThem) {
    REQUIRE_POPPLER();
    const QImage page = rasterise(DopeCardPDF::render(sampleMeta(), samplePoints(3)), 288);  // 4 px per pt
    ASSERT_FALSE(page.isNull());
    ASSERT_EQ(page.height(), 792 * 4);
    const auto ink = [&](double x, double y) { return 255 - qGray(page.pixel(int(x * 4), int((792 - y) * 4))); };
    // Left of every title and cell the rule is the only ink between the heading and the rows.
    std::vector<double> inked;
    for (double y = 650; y >= 625; y -= 0.25)
        if (ink(50, y) > 40) inked.push_back(y);
    ASSERT_FALSE(inked.empty());
    EXPECT_GE(inked.back(), 634.5);
    EXPECT_LE(inked.front(), 635.5);
    EXPECT_GT(ink(563.5, 635), 40);  // reaches the right end of the table
    EXPECT_EQ(ink(565, 635), 0);     // and stops there (flat ends)
    EXPECT_EQ(ink(47, 635), 0);
    EXPECT_EQ(ink(150, 645), 0);     // nothing struck through the titles (between RANGE and VEL)
}

// The faces travel with the application and inside the file, so the card looks the same on
// every machine and in every viewer.
TEST(DopeCardPDF, EmbedsTheBundledMonospacedFaces) {
    EXPECT_TRUE(QFile::exists(":/fonts/DejaVuSansMono.ttf"));
    EXPECT_TRUE(QFile::exists(":/fonts/DejaVuSansMono-Bold.ttf"));
    if (tool("pdffonts").isEmpty()) GTEST_SKIP() << "pdffonts (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString path = save(DopeCardPDF::render(sampleMeta(), samplePoints(2)), dir);
    QProcess pdffonts;
    pdffonts.start(tool("pdffonts"), {path});
    ASSERT_TRUE(pdffonts.waitForFinished());
    QStringList embedded;  // name and "yes" in the emb column
    for (const QString& line : QString::fromUtf8(pdffonts.readAllStandardOutput()).split('\n').mid(2)) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[fields.size() - 5] == "yes") embedded << fields.first().section('+', -1);
    }
    embedded.sort();
    EXPECT_EQ(embedded, (QStringList{"DejaVuSansMono", "DejaVuSansMono-Bold"}));
}
