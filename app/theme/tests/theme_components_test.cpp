// The theme as drawn: palette values, cards, and the design components' texts, sizes and
// pressed looks.
#include "app/theme/components/badge.h"
#include "app/theme/components/button_styles.h"
#include "app/theme/components/menu_picker.h"
#include "app/theme/components/metrics_strip.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/pane_intro.h"
#include "app/theme/components/section_label.h"
#include "app/theme/components/stat_tile.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/testing/composited.h"
#include "app/theme/typeface.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace kavrino {
namespace {

using test_support::over;

void expectPixel(const QImage& image, QPoint at, const QColor& expected) {
    SCOPED_TRACE(testing::Message() << "at " << at.x() << "," << at.y());
    const QColor actual = image.pixelColor(at);
    EXPECT_NEAR(actual.red(), expected.red(), 1);
    EXPECT_NEAR(actual.green(), expected.green(), 1);
    EXPECT_NEAR(actual.blue(), expected.blue(), 1);
}

TEST(Palette, ColoursAreTheThemesSrgbValues) {
    struct Row {
        const char* name;
        const QColor& (*colour)();
        double r, g, b;
    };
    const Row rows[] = {
        {"background", Palette::background, 0.039, 0.047, 0.075},
        {"surface", Palette::surface, 0.055, 0.067, 0.106},
        {"panel", Palette::panel, 0.078, 0.094, 0.149},
        {"raised", Palette::raised, 0.106, 0.125, 0.196},
        {"stroke", Palette::stroke, 0.133, 0.157, 0.22},
        {"accent", Palette::accent, 0.231, 0.51, 0.965},
        {"accentBright", Palette::accentBright, 0.353, 0.627, 1},
        {"orange", Palette::orange, 0.96, 0.62, 0.2},
        {"green", Palette::green, 0.063, 0.725, 0.506},
        {"red", Palette::red, 0.92, 0.34, 0.34},
        {"textPrimary", Palette::textPrimary, 0.91, 0.92, 0.95},
        {"textSecondary", Palette::textSecondary, 0.55, 0.58, 0.66},
        {"textTertiary", Palette::textTertiary, 0.36, 0.39, 0.47},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QColor& colour = row.colour();
        EXPECT_NEAR(colour.redF(), row.r, 1e-4);
        EXPECT_NEAR(colour.greenF(), row.g, 1e-4);
        EXPECT_NEAR(colour.blueF(), row.b, 1e-4);
        EXPECT_EQ(colour.alphaF(), 1.0f);
        EXPECT_EQ(&row.colour(), &colour);  // built once: every call returns the same colour
    }
    // accentSoft is the accent at 0.16: over the sidebar it is a faint blue, never opaque
    // (by hand: 0.231 × 0.16 + 0.055 × 0.84 = 0.0832 → 21, and so on).
    EXPECT_NEAR(Palette::accentSoft().alphaF(), 0.16, 1e-4);
    EXPECT_EQ(Palette::accentSoft().rgb(), Palette::accent().rgb());
    EXPECT_EQ(over(Palette::accentSoft(), Palette::surface()), QColor(21, 35, 62));
    EXPECT_EQ(&Palette::accent(), &Palette::accent());
}

// A content widget painted solid red, to see what the card draws over it.
class Solid final : public QWidget {
public:
    explicit Solid(QColor colour) : m_colour(colour) { setMinimumSize(40, 30); }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

QImage onBackground(QWidget& widget, QSize size) {
    QWidget host;
    host.setAutoFillBackground(true);
    QPalette colours;
    colours.setColor(QPalette::Window, Palette::background());
    host.setPalette(colours);
    widget.setParent(&host);
    widget.setGeometry(QRect(QPoint(0, 0), size));
    host.resize(size);
    host.show();
    QImage image = host.grab().toImage();
    widget.setParent(nullptr);
    return image;
}

TEST(PanelDecoration, FillsWithPanelAndDrawsAOnePointStrokeInside) {
    PanelCard card(new Solid(Palette::red()), 16, 14);
    const QImage image = onBackground(card, QSize(200, 100));
    const QColor background = over(Palette::background(), Qt::black);
    expectPixel(image, QPoint(8, 50), over(Palette::panel(), Qt::black));     // padding
    expectPixel(image, QPoint(0, 50), over(Palette::stroke(), Qt::black));    // border, inside
    expectPixel(image, QPoint(199, 50), over(Palette::stroke(), Qt::black));
    expectPixel(image, QPoint(100, 0), over(Palette::stroke(), Qt::black));
    expectPixel(image, QPoint(0, 0), background);                             // rounded corner
    expectPixel(image, QPoint(100, 50), over(Palette::red(), Qt::black));     // content
    EXPECT_EQ(card.content()->geometry(), QRect(16, 16, 168, 68));
}

TEST(PanelDecoration, WithoutPaddingTheBorderIsDrawnOverTheContentsEdge) {
    PanelCard card(new Solid(Palette::red()), 0, 14);
    const QImage image = onBackground(card, QSize(200, 100));
    EXPECT_EQ(card.content()->geometry(), QRect(0, 0, 200, 100));
    expectPixel(image, QPoint(0, 50), over(Palette::stroke(), Qt::black));
    expectPixel(image, QPoint(100, 99), over(Palette::stroke(), Qt::black));
    expectPixel(image, QPoint(1, 50), over(Palette::red(), Qt::black));
}

TEST(PanelDecoration, CardsWithTheSameParametersLookAlikeWhateverTheirContent) {
    PanelCard a(new QLabel("one"), 18, 14);
    PanelCard b(new QLabel("a much longer text"), 18, 14);
    const QImage ia = onBackground(a, QSize(300, 120));
    const QImage ib = onBackground(b, QSize(300, 120));
    for (QPoint at : {QPoint(0, 0), QPoint(2, 2), QPoint(0, 60), QPoint(150, 119), QPoint(299, 119),
                      QPoint(5, 60), QPoint(290, 110)}) {
        EXPECT_EQ(ia.pixelColor(at), ib.pixelColor(at)) << at.x() << "," << at.y();
    }
}

TEST(SectionLabel, DrawsMixedCaseTextInCapitals) {
    SectionLabel label("Muzzle velocity");
    EXPECT_EQ(label.text(), "MUZZLE VELOCITY");
    label.setLabelText("wind ß");
    EXPECT_EQ(label.text(), "WIND SS");
    EXPECT_NEAR(label.font().letterSpacing(), 1.2, 1.0 / 64);  // Qt keeps 1/64 steps
}

TEST(StatTile, UpperCasesTheLabelButShowsTheValueAsGiven) {
    StatTile tile("Drop at 600", "-12.5 mil", Palette::orange());
    EXPECT_EQ(tile.findChild<QLabel*>("statTileLabel")->text(), "DROP AT 600");
    EXPECT_EQ(tile.findChild<QLabel*>("statTileValue")->text(), "-12.5 mil");
    EXPECT_EQ(tile.accessibleName(), "Drop at 600");
    EXPECT_EQ(tile.accessibleDescription(), "-12.5 mil");
    tile.setValue("3.1 mil");
    EXPECT_EQ(tile.accessibleDescription(), "3.1 mil");
}

TEST(StatTile, DigitsAreOfEqualWidthSoChangingFiguresKeepTheirPlaces) {
    StatTile tile("Velocity", "0", Palette::accent());
    const QFontMetricsF metrics(tile.findChild<QLabel*>("statTileValue")->font());
    const double zero = metrics.horizontalAdvance("0");
    for (char digit = '1'; digit <= '9'; ++digit) {
        EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QString(QChar(digit))), zero) << digit;
    }
    EXPECT_DOUBLE_EQ(metrics.horizontalAdvance("1111"), metrics.horizontalAdvance("8888"));
}

TEST(StatTile, TilesInARowShareItsWidth) {
    QWidget row;
    auto* layout = new QHBoxLayout(&row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    auto* a = new StatTile("A", "1", Palette::accent());
    auto* b = new StatTile("B", "1234567", Palette::accent());
    layout->addWidget(a);
    layout->addWidget(b);
    row.resize(810, 80);
    row.show();
    EXPECT_EQ(a->width(), 400);
    EXPECT_EQ(b->width(), 400);
}

// Regression: at the window's smallest size the reload tiles read "MUZZLE VELO…" and "56,413…",
// the pressure without its unit. A squeezed tile wraps its texts at word boundaries instead,
// inside a word only where the word alone is too wide, and grows taller to show every line.
TEST(StatTile, ASqueezedTileWrapsItsTextsAndGrowsTallerAndAWideOneShowsThemOnOneLine) {
    QWidget pane;
    auto* column = new QVBoxLayout(&pane);
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    column->addStretch(1);
    column->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    auto* velocity = new StatTile("Muzzle velocity", "2692 fps", Palette::accent());
    auto* pressure = new StatTile("Peak pressure", "56,413 psi", Palette::accent());
    auto* word = new StatTile("Case fill", "123456789012", Palette::accent());
    for (StatTile* tile : {velocity, pressure, word}) row->addWidget(tile, 1, Qt::AlignVCenter);
    const auto label = [](const StatTile* tile) { return tile->findChild<QLabel*>("statTileLabel"); };
    const auto value = [](const StatTile* tile) { return tile->findChild<QLabel*>("statTileValue"); };
    // Every line of both texts lies inside the tile's padding, none cut.
    const auto expectWhole = [&](const StatTile* tile) {
        SCOPED_TRACE(tile->label().toStdString());
        EXPECT_EQ(tile->height(), tile->heightForWidth(tile->width()));
        for (const QLabel* text : {label(tile), value(tile)}) {
            SCOPED_TRACE(text->text().toStdString());
            const QFontMetrics metrics = text->fontMetrics();
            for (const QString& line : text->text().split('\n')) {
                EXPECT_LE(metrics.horizontalAdvance(line), tile->width() - 28) << line.toStdString();
            }
            EXPECT_GE(text->height(), metrics.height() * (text->text().count('\n') + 1));
            EXPECT_TRUE(tile->rect().adjusted(14, 14, -14, -14).contains(text->geometry()));
        }
    };

    pane.resize(3 * 116 + 2 * 12, 300);
    pane.show();
    QApplication::processEvents();
    EXPECT_EQ(label(velocity)->text(), "MUZZLE\nVELOCITY");
    EXPECT_EQ(value(pressure)->text(), "56,413\npsi");
    EXPECT_EQ(value(pressure)->text().remove('\n'), "56,413psi");
    const QStringList pieces = value(word)->text().split('\n');
    EXPECT_GT(pieces.size(), 1) << "a word wider than the tile breaks inside it";
    EXPECT_EQ(pieces.join(QString()), "123456789012");
    const int oneLine = velocity->minimumSizeHint().height();
    EXPECT_GT(velocity->height(), oneLine);
    for (const StatTile* tile : {velocity, pressure, word}) expectWhole(tile);
    // Assistive technology reads the texts as given.
    EXPECT_EQ(pressure->accessibleName(), "Peak pressure");
    EXPECT_EQ(pressure->accessibleDescription(), "56,413 psi");
    EXPECT_EQ(pressure->value(), "56,413 psi");

    pane.resize(900, 300);
    QApplication::processEvents();
    EXPECT_EQ(label(velocity)->text(), "MUZZLE VELOCITY");
    EXPECT_EQ(value(pressure)->text(), "56,413 psi");
    EXPECT_EQ(value(word)->text(), "123456789012");
    for (const StatTile* tile : {velocity, pressure, word}) {
        EXPECT_EQ(tile->height(), oneLine);
        expectWhole(tile);
    }
}

TEST(Badge, KeepsTheCallersLetterCase) {
    Badge upper("ACTIVE", Palette::green());
    Badge lower("active", Palette::green());
    EXPECT_EQ(upper.text(), "ACTIVE");
    EXPECT_EQ(lower.text(), "active");
    EXPECT_EQ(upper.accessibleName(), "ACTIVE");
}

TEST(Badge, TextInFullColourOnAPaleCapsuleOfTheSameColour) {
    Badge badge("OK", Palette::green());
    const QSize size = badge.sizeHint();
    const QImage image = onBackground(badge, size);
    const QColor capsule = over(withOpacity(Palette::green(), 0.16), Palette::background());
    expectPixel(image, QPoint(3, size.height() / 2), capsule);    // inside the capsule end
    expectPixel(image, QPoint(0, 0), over(Palette::background(), Qt::black));  // outside it
    // Some pixel of the text is drawn at (nearly) the full colour.
    bool fullColour = false;
    const QColor green = over(Palette::green(), Qt::black);
    for (int x = 7; x < size.width() - 7; ++x) {
        for (int y = 3; y < size.height() - 3; ++y) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.green() - green.green()) <= 8 && std::abs(c.red() - green.red()) <= 8)
                fullColour = true;
        }
    }
    EXPECT_TRUE(fullColour);
}

TEST(PaneIntro, ShowsTheTextAsGivenInTheSecondaryColour) {
    PaneIntro intro("Fit muzzle velocity to observed drops.");
    EXPECT_EQ(intro.text(), "Fit muzzle velocity to observed drops.");
    EXPECT_EQ(intro.palette().color(QPalette::WindowText), Palette::textSecondary());
    EXPECT_TRUE(intro.wordWrap());
}

// Runs the event loop until the button's press change has come to `progress` (0 released,
// 1 pressed). The deadline lies far beyond the 0.12 s the change takes, for a busy machine; the
// wait ends as soon as the change does.
bool pressSettlesAt(const StyledButton& button, double progress) {
    return QTest::qWaitFor([&] { return qAbs(button.pressProgress() - progress) < 1e-9; }, 10000);
}

TEST(ButtonStyles, PrimaryHeldDownDimsAndShrinksThenEasesBack) {
    StyledButton button("Solve", PrimaryButtonStyle{Palette::accent()});
    button.show();
    EXPECT_EQ(button.currentOpacity(), 1.0);
    QTest::mousePress(&button, Qt::LeftButton);
    ASSERT_TRUE(pressSettlesAt(button, 1.0));
    EXPECT_DOUBLE_EQ(button.currentOpacity(), 0.85);
    EXPECT_DOUBLE_EQ(button.currentScale(), 0.98);
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_GT(button.pressProgress(), 0.0);  // animates back, not at once
    ASSERT_TRUE(pressSettlesAt(button, 0.0));
    EXPECT_DOUBLE_EQ(button.currentOpacity(), 1.0);
    EXPECT_DOUBLE_EQ(button.currentScale(), 1.0);
}

TEST(ButtonStyles, PressedLooksOfEachStyle) {
    struct Row {
        const char* name;
        ButtonStyle style;
        double opacity;
        double scale;
        bool animated;
    };
    const Row rows[] = {
        {"primary", PrimaryButtonStyle{Palette::accent()}, 0.85, 0.98, true},
        {"secondary", SecondaryButtonStyle{Palette::accent()}, 0.8, 0.98, true},
        {"icon", IconButtonStyle{}, 0.7, 1.0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StyledButton button("X", row.style);
        button.show();
        QTest::mousePress(&button, Qt::LeftButton);
        if (!row.animated) {
            EXPECT_EQ(button.pressProgress(), 1.0);  // at once
        }
        ASSERT_TRUE(pressSettlesAt(button, 1.0));
        EXPECT_DOUBLE_EQ(button.currentOpacity(), row.opacity);
        EXPECT_DOUBLE_EQ(button.currentScale(), row.scale);
        QTest::mouseRelease(&button, Qt::LeftButton);
        if (!row.animated) {
            EXPECT_EQ(button.pressProgress(), 0.0);
        }
    }
}

TEST(ButtonStyles, PaddingAndFrames) {
    StyledButton primary("Export DOPE", PrimaryButtonStyle{Palette::accent()});
    StyledButton secondary("Export DOPE", SecondaryButtonStyle{Palette::accent()});
    const int text = QFontMetrics(primary.look().font).horizontalAdvance("Export DOPE");
    EXPECT_EQ(primary.sizeHint().width(), text + 32);
    EXPECT_EQ(primary.sizeHint().height(), QFontMetrics(primary.look().font).height() + 18);
    EXPECT_EQ(secondary.sizeHint().width(),
              QFontMetrics(secondary.look().font).horizontalAdvance("Export DOPE") + 28);
    // The icon button's frame is 28 by 28 whatever the symbol's own size.
    StyledButton icon(symbolIcon("map"), "Map", IconButtonStyle{});
    icon.setIconSize(QSize(64, 64));
    icon.show();
    EXPECT_EQ(icon.size(), QSize(28, 28));
    EXPECT_EQ(icon.accessibleName(), "Map");
}

TEST(ButtonStyles, PrimaryFillIsATintGradientTopToBottom) {
    StyledButton button("Solve", PrimaryButtonStyle{Palette::accent()});
    button.setGraphicsEffect(nullptr);  // the shadow is outside the button; look at the fill
    const QImage image = onBackground(button, button.sizeHint());
    const int x = 4;
    const QColor top = image.pixelColor(x, 3);
    const QColor bottom = image.pixelColor(x, image.height() - 4);
    // Over the dark background, 0.95 opacity at the top is brighter than 0.78 at the bottom.
    EXPECT_GT(top.blue(), bottom.blue());
    EXPECT_GT(top.green(), bottom.green());
}

TEST(UiFace, EveryWeightOfTheFaceIsItsOwnWithDigitsOfOneWidth) {
    // Regular, medium, semibold and bold are four faces, not one face drawn heavier.
    QStringList styles;
    for (QFont::Weight weight : {QFont::Normal, QFont::Medium, QFont::DemiBold, QFont::Bold}) {
        const QFont font = uiFont(13, weight);
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), "Lato");
        styles << info.styleName();
        const QFontMetricsF metrics(font);
        for (QChar digit : QStringLiteral("0123456789")) {
            EXPECT_EQ(metrics.horizontalAdvance(digit), metrics.horizontalAdvance('0')) << digit.toLatin1();
        }
    }
    EXPECT_EQ(styles, QStringList({"Regular", "Medium", "Semibold", "Bold"}));
}

std::array<Metric, 7> sevenMetrics() {
    std::array<Metric, 7> metrics;
    for (size_t i = 0; i < metrics.size(); ++i) {
        metrics[i] = {QString("cell%1").arg(i), "Title", QString("figure %1 wide").arg(i), QColor()};
    }
    return metrics;
}

TEST(MetricsStrip, ANarrowStripHidesCellsAndScrollsToThemWithTheWheel) {
    MetricsStrip strip;
    strip.setMetrics(sevenMetrics());
    strip.show();
    QApplication::processEvents();
    strip.resize(strip.sizeHint());  // the cells' own width, once their fonts are settled
    QApplication::processEvents();
    EXPECT_FALSE(strip.hidesCells());

    strip.resize(300, strip.height());
    QApplication::processEvents();
    EXPECT_TRUE(strip.hidesCells());
    QScrollBar* bar = strip.horizontalScrollBar();
    EXPECT_EQ(bar->value(), 0);
    // An ordinary wheel turn towards the user moves the strip to the cells on the right.
    QWheelEvent down(QPointF(10, 10), strip.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(strip.viewport(), &down);
    EXPECT_GT(bar->value(), 0);
}

// Typed under a locale's default, as every number row of every pane reads it. QLocale alone
// takes a group mark wherever a digit group could stand, so a German "0.462" used to become 462;
// and it takes only the locale's own mark, so the no-break space of a French keyboard and the
// typewriter apostrophe of a Swiss one used to be refused.
TEST(NumberField, ReadsAGroupMarkOnlyWhereTheLocalePrintsOne) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale french(QLocale::French, QLocale::France);  // groups with a narrow no-break space
    const QLocale indian(QLocale::English, QLocale::India);  // 12,34,567
    const QLocale swiss(QLocale::German, QLocale::Switzerland);  // groups with a typographic apostrophe
    const QLocale russian(QLocale::Russian, QLocale::Russia);    // groups with a no-break space
    struct Row {
        const QLocale& locale;
        const char* typed;
        std::optional<double> value;  // none: unreadable, the field keeps what it held
        const char* shown;            // empty: the held value's own text
    };
    const Row rows[] = {
        {english, "2,700", 2700, "2,700"},
        {english, "12,345.5", 12345.5, "12,345.5"},
        {english, " -12,345.5 ", -12345.5, "-12,345.5"},
        {english, "0.462", 0.462, "0.462"},
        {english, "1,000,000,000,000,000,000,000", 1e21, "1E+21"},
        {english, "1.5E+12", 1.5e12, "1.5E+12"},
        {english, "0,462", {}, ""},
        {english, "0,000.5", {}, ""},
        {english, "12,34,567", {}, ""},
        {english, "1,000E+3", {}, ""},
        {english, "2 800", {}, ""},
        {english, "2\u00a0800", {}, ""},
        {english, "2'800", {}, ""},
        {german, "0,462", 0.462, "0,462"},
        {german, "1.215", 1215, "1.215"},
        {german, "2.700", 2700, "2.700"},
        {german, "-1.215,5", -1215.5, "-1.215,5"},
        {german, "2,5E+12", 2.5e12, "2,5E+12"},
        {german, "-2,5E-05", -2.5e-5, "-2,5E-05"},
        {german, "0.462", {}, ""},
        {german, "0.5", {}, ""},
        {german, "12,345.5", {}, ""},
        {french, "2 650", 2650, "2\u202f650"},
        {french, "2\u202f650,5", 2650.5, "2\u202f650,5"},
        {french, "0 462", {}, ""},
        {french, "2\u00a0800", 2800, "2\u202f800"},
        {french, "-1\u00a0234 567,25", -1234567.25, "-1\u202f234\u202f567,25"},
        {french, "2'800", {}, ""},
        {french, "0\u00a0462", {}, ""},
        {french, "2,5\u00a0000", {}, ""},
        {russian, "2\u202f800", 2800, "2\u00a0800"},
        {swiss, "2'650", 2650, "2\u2019650"},
        {swiss, "2\u2019650.5", 2650.5, "2\u2019650.5"},
        {swiss, "1'234'567", 1234567, "1\u2019234\u2019567"},
        {swiss, "2.650", 2.65, "2.65"},
        {swiss, "0'462", {}, ""},
        {swiss, "2 650", {}, ""},
        {swiss, "26'50", {}, ""},
        {indian, "12,34,567", 1234567, "12,34,567"},
        {indian, "1,234,567", {}, ""},
    };
    const QLocale before;
    const double held = 7.25;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.locale.name().toStdString() << " " << row.typed);
        QLocale::setDefault(row.locale);
        NumberField field;
        field.setValue(held);
        field.show();
        QApplication::setActiveWindow(&field);
        field.setFocus();
        field.selectAll();
        for (const QChar c : QString::fromUtf8(row.typed)) {  // keyClicks types ASCII only
            QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QTest::keyClick(&field, Qt::Key_Return);
        EXPECT_EQ(field.value(), row.value.value_or(held));
        EXPECT_EQ(field.text(), row.value ? QString::fromUtf8(row.shown) : NumberField::format(held));
        EXPECT_EQ(NumberField::parse(field.text()), field.value());  // what it shows reads back
    }
    QLocale::setDefault(before);
}

// A picker of `names` at row `current`, on screen with the keyboard's focus.
struct FocusedPicker {
    FocusedPicker(const QStringList& names, int current) {
        picker.addItems(names);
        picker.setCurrentIndex(current);
        picker.show();
        QApplication::setActiveWindow(&picker);
        picker.setFocus();
    }
    MenuPicker picker;
    QSignalSpy activated{&picker, &QComboBox::activated};
};

// Picked by keyboard alone, as a user picks a cartridge: a name is searched from the top of the
// list, a space inside it is part of the name, and Return or Escape ends the search. The picker
// used to take every Space as Return ("6.5 P" picked "6.5 Creedmoor" at the space) and to open
// at the match after the current row.
TEST(MenuPicker, TypedNamesFindTheirRowFromTheTopWithTheirSpaces) {
    const QStringList names{".223 Remington", "6mm Creedmoor", "6.5 Creedmoor", "6.5 PRC",
                            ".300 Winchester Magnum", ".308 Winchester"};
    const int creedmoor = 2;
    // However slowly a loaded machine delivers the keys, they stay one search.
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(600'000);
    struct Row {
        const char* typed;  // the first character on the closed picker, the rest into the list
        Qt::Key end;
        int highlighted;
        int current;  // once the list is closed
    };
    const Row rows[] = {
        {"6", Qt::Key_Escape, 1, creedmoor},  // the first "6" from the top, not the one after the current row
        {"6", Qt::Key_Return, 1, 1},
        {"6.5 P", Qt::Key_Return, 3, 3},
        {"6.5 prc", Qt::Key_Return, 3, 3},  // letter case aside
        {".300 W", Qt::Key_Return, 4, 4},
        {".30", Qt::Key_Return, 4, 4},
        {".308", Qt::Key_Return, 5, 5},
        {"6.5 P", Qt::Key_Escape, 3, creedmoor},
        {"6.5 X", Qt::Key_Escape, creedmoor, creedmoor},  // no such row: the highlight stays
    };
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        for (const Row& row : rows) {
            const QString typed = QString::fromUtf8(row.typed);
            SCOPED_TRACE(testing::Message() << locale.name().toStdString() << " \"" << row.typed << "\" "
                                            << (row.end == Qt::Key_Return ? "Return" : "Escape"));
            FocusedPicker shown(names, creedmoor);
            MenuPicker& picker = shown.picker;
            const QSignalSpy& activated = shown.activated;
            QTest::keyClicks(&picker, typed.left(1));
            ASSERT_TRUE(picker.view()->isVisible());
            QTest::keyClicks(picker.view(), typed.mid(1));
            EXPECT_TRUE(picker.view()->isVisible());
            EXPECT_EQ(picker.view()->currentIndex().row(), row.highlighted);
            EXPECT_EQ(activated.count(), 0);
            QTest::keyClick(picker.view(), row.end);
            EXPECT_FALSE(picker.view()->isVisible());
            EXPECT_EQ(picker.currentIndex(), row.current);
            EXPECT_EQ(activated.count(), row.end == Qt::Key_Return ? 1 : 0);
        }
    }

    // With no name being typed, Space picks the highlighted row, as Return does.
    FocusedPicker shown(names, creedmoor);
    MenuPicker& picker = shown.picker;
    QTest::keyClick(&picker, Qt::Key_Down);
    ASSERT_TRUE(picker.view()->isVisible());
    QTest::keyClick(picker.view(), Qt::Key_Down);
    QTest::keyClick(picker.view(), Qt::Key_Space);
    EXPECT_FALSE(picker.view()->isVisible());
    EXPECT_EQ(picker.currentIndex(), 3);
    EXPECT_EQ(shown.activated.count(), 1);

    QApplication::setKeyboardInputInterval(interval);
    QLocale::setDefault(QLocale::c());
}

TEST(SymbolIcons, EveryPaneSymbolIsBundled) {
    for (const char* name : {"scope", "flame", "books.vertical", "chart.bar.xaxis",
                             "chart.xyaxis.line", "slider.horizontal.3", "map",
                             "square.and.arrow.down"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(symbolIcon(name).isNull());
    }
    EXPECT_TRUE(symbolIcon("no.such.symbol").isNull());
}

}  // namespace
}  // namespace kavrino
