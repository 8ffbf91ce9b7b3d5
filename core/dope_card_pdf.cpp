#include "core/dope_card_pdf.h"

#include "core/format.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPen>
#include <QRawFont>

#include <array>

namespace kavrino::DopeCardPDF {

namespace {

// Geometry in PDF points (1/72 in) with the origin at the bottom left of the page and y
// growing upward, as the card is laid out; `CardPainter` turns it into device units with
// QPainter's top-down y. A text position is the left end of its baseline.
constexpr double pageHeight = 792;  // US Letter, 612 × 792 pt

// Device units per point. Qt loads a face only at a whole number of device pixels and gives
// glyph bounds in whole pixels, so at 72 dpi a 9.5 pt face would be drawn at 10 pt and ink
// widths would be off by up to a point. At 7200 dpi every size on the card is a whole number of
// pixels and every measure is good to 0.01 pt; the page itself stays 612 × 792 pt.
constexpr int unitsPerPoint = 100;
constexpr int deviceResolution = 72 * unitsPerPoint;  // dpi

constexpr double headingX = 48;
constexpr double tableLeft = 48;
constexpr double tableWidth = 516;  // to x = 564
constexpr int columnCount = 7;
constexpr double columnWidth = tableWidth / columnCount;
constexpr double cellInset = 8;  // every table text ends this far inside its column's right edge

constexpr double titleBaseline = 724;
constexpr double loadBaseline = 701;
constexpr double figuresBaseline = 683;
constexpr double conditionsBaseline = 669;
constexpr double columnTitleBaseline = 640;
// The rule runs 5 pt below the column titles' baseline, in the gap above the first row's digits
// (which reach up to 628.4). 5 pt above the baseline it would strike through the capitals,
// which stand 6.6 pt tall at 9 pt.
constexpr double ruleY = 635;

constexpr double firstRowTop = 631;       // y of the first row on the first page
constexpr double nextPageRowTop = 744;    // y of the first row on every further page
constexpr double lowestRowTop = 68;       // a row starting below this goes to the next page
constexpr double rowHeight = 16;
constexpr double rowBaselineDrop = 9.5;  // a row's baseline sits this far below its top

constexpr std::array<const char*, columnCount> columnTitles{"RANGE",    "VEL",      "DROP MOA", "DROP MIL",
                                                             "WIND MOA", "WIND MIL", "ENERGY"};

// DejaVu Sans Mono from the bundled resources, registered once per process. The system copy
// from fonts-dejavu-core has the same family name and the same files, so either serves.
QString monoFamily() {
    static const QString family = [] {
        QString name = QStringLiteral("DejaVu Sans Mono");
        for (const char* file : {":/fonts/DejaVuSansMono.ttf", ":/fonts/DejaVuSansMono-Bold.ttf"}) {
            const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty()) name = families.first();
        }
        return name;
    }();
    return family;
}

// The monospaced face at `points` and `weight`. Hinting is off so that widths and positions
// are the font's design values, not fitted to the device grid.
QFont monoFont(double points, QFont::Weight weight) {
    QFont font(monoFamily());
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(points);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

// Grey levels of the card: dark gray is one third white, gray one half.
QColor grey(double white) { return QColor::fromRgbF(static_cast<float>(white), static_cast<float>(white),
                                                    static_cast<float>(white)); }

class CardPainter {
public:
    CardPainter(QPainter& painter, QPaintDevice& device) : m_painter(painter), m_device(device) {}

    // Draws `text` with the left end of its baseline at (x, baseline).
    void text(const QString& text, double x, double baseline, const QFont& font, const QColor& colour) {
        m_painter.setFont(font);
        m_painter.setPen(colour);
        m_painter.drawText(device(x, baseline), text);
    }

    // Draws `text` at x = right edge of column `column` (from 1) − `cellInset` − its ink width,
    // the width of its glyphs' tight bounds, so that cells of any width share one right edge.
    void tableText(const QString& text, int column, double baseline, const QFont& font) {
        const double rightEdge = tableLeft + column * columnWidth;
        this->text(text, rightEdge - cellInset - inkWidth(text, font), baseline, font, Qt::black);
    }

    // A horizontal line at height y, gray, 0.5 pt wide, ending flat at both x.
    void rule(double y, double fromX, double toX) {
        QPen pen(grey(0.5));
        pen.setWidthF(0.5 * unitsPerPoint);
        pen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(pen);
        m_painter.drawLine(device(fromX, y), device(toX, y));
    }

private:
    // The ink width of `text` in points: the union of its glyph outlines' bounds, taken at the
    // face's design size, so that no rounding to device pixels widens it. Falls back to the
    // measured tight bounds if the face cannot be opened as a raw font.
    double inkWidth(const QString& text, const QFont& font) {
        DesignFace& face = designFace(font);
        if (!face.raw.isValid())
            return QFontMetricsF(font, &m_device).tightBoundingRect(text).width() / unitsPerPoint;
        QRectF ink;
        double pen = 0;
        for (const quint32 glyph : face.raw.glyphIndexesForString(text)) {
            const DesignGlyph& metrics = face.glyph(glyph);
            if (!metrics.bounds.isEmpty()) ink |= metrics.bounds.translated(pen, 0);
            pen += metrics.advance;
        }
        return ink.width() * font.pointSizeF() / face.raw.unitsPerEm();
    }

    // A glyph's outline bounds and advance in design units.
    struct DesignGlyph {
        QRectF bounds;
        double advance = 0;
    };

    // A face at one pixel per design unit, with the glyphs measured so far (a card uses a few
    // dozen, and outlines are slow to extract).
    struct DesignFace {
        QRawFont raw;
        QHash<quint32, DesignGlyph> glyphs;

        const DesignGlyph& glyph(quint32 index) {
            auto found = glyphs.find(index);
            if (found == glyphs.end()) {
                const QList<QPointF> advance = raw.advancesForGlyphIndexes({index}, QRawFont::UseDesignMetrics);
                found = glyphs.insert(index, {raw.pathForGlyph(index).boundingRect(),
                                              advance.isEmpty() ? 0.0 : advance.first().x()});
            }
            return *found;
        }
    };

    // The design face of `font`, opened once per face.
    DesignFace& designFace(const QFont& font) {
        const QString key = font.key();
        auto found = m_designFaces.find(key);
        if (found == m_designFaces.end()) {
            DesignFace face{QRawFont::fromFont(font), {}};
            if (face.raw.isValid()) face.raw.setPixelSize(face.raw.unitsPerEm());
            found = m_designFaces.insert(key, face);
        }
        return *found;
    }

    static QPointF device(double x, double pdfY) { return {x * unitsPerPoint, (pageHeight - pdfY) * unitsPerPoint}; }

    QPainter& m_painter;
    QPaintDevice& m_device;
    QHash<QString, DesignFace> m_designFaces;
};

}  // namespace

QByteArray render(const Meta& meta, std::span<const TrajectoryPoint> points) {
    return render(meta, points, RenderProgress());
}

QByteArray render(const Meta& meta, std::span<const TrajectoryPoint> points,
                  const RenderProgress& progress) {
    const auto keepGoing = [&](size_t rowsDrawn) { return !progress || progress(rowsDrawn); };
    if (qGuiApp == nullptr) return {};  // fonts and PDF drawing need the GUI application

    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly)) return {};
        QPdfWriter writer(&buffer);
        writer.setResolution(deviceResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                         QPageLayout::Point));
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        painter.setRenderHint(QPainter::Antialiasing);
        CardPainter card(painter, writer);

        // DejaVu Sans Mono has no semibold: the load line takes bold, the nearest heavier weight,
        // as font matching does for a weight above medium.
        const QFont titleFont = monoFont(20, QFont::Bold);
        const QFont loadFont = monoFont(13, QFont::Bold);
        const QFont smallFont = monoFont(10, QFont::Normal);
        const QFont columnTitleFont = monoFont(9, QFont::Bold);
        const QFont cellFont = monoFont(9.5, QFont::Normal);

        card.text(meta.title, headingX, titleBaseline, titleFont, Qt::black);
        card.text(meta.load, headingX, loadBaseline, loadFont, grey(1.0 / 3));
        card.text(qformat("MV %.0f fps   BC %.3f %s   Zero %.0f yd   SH %.2f in", meta.muzzleVelocity, meta.bc,
                          meta.dragModel.toStdString(), meta.zeroRange, meta.sightHeight),
                  headingX, figuresBaseline, smallFont, grey(0.5));
        card.text(meta.conditions, headingX, conditionsBaseline, smallFont, grey(0.5));

        for (int k = 1; k <= columnCount; ++k)
            card.tableText(QString::fromLatin1(columnTitles[k - 1]), k, columnTitleBaseline, columnTitleFont);
        card.rule(ruleY, tableLeft, tableLeft + tableWidth);

        double y = firstRowTop;
        size_t drawn = 0;
        for (const TrajectoryPoint& point : points) {
            if (y < lowestRowTop) {
                if (!keepGoing(drawn)) return {};
                writer.newPage();
                y = nextPageRowTop;
            }
            ++drawn;
            const double baseline = y - rowBaselineDrop;
            const std::array<QString, columnCount> cells{
                qformat("%.0f", point.range),        qformat("%.0f", point.velocity),
                qformat("%.1f", point.dropMOA),      qformat("%.2f", point.dropMil),
                qformat("%.1f", point.windDriftMOA), qformat("%.2f", point.windDriftMil),
                qformat("%.0f", point.energy)};
            for (int k = 1; k <= columnCount; ++k) card.tableText(cells[k - 1], k, baseline, cellFont);
            y -= rowHeight;
        }
        if (!painter.end() || !keepGoing(drawn)) return {};
    }
    return bytes;
}

}  // namespace kavrino::DopeCardPDF
