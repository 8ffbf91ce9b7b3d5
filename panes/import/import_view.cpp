#include "panes/import/import_view.h"

#include "app/platform/dialogs.h"
#include "app/platform/file_reading.h"
#include "app/platform/platform.h"
#include "app/theme/components/badge.h"
#include "app/theme/components/button_styles.h"
#include "app/theme/components/pane_intro.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/components/section_label.h"
#include "app/theme/components/stat_tile.h"
#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "core/background_job.h"
#include "core/solve_model.h"
#include "panes/import/import_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kavrino {
namespace {

// "kavrino.import": a file the user chose that could not be read, or held nothing to import.
Q_LOGGING_CATEGORY(lcImport, "kavrino.import", QtWarningMsg)

// Every line names its file the same way, by its full path as the platform writes it, so that
// files of one name in different folders are told apart.
void warnAboutFile(const QString& path, const char* what) {
    qCWarning(lcImport).noquote() << QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) << what;
}

const char* readFailureText(TextFileFailure failure) {
    switch (failure) {
    case TextFileFailure::cannotRead: return "cannot be read";
    case TextFileFailure::tooLarge: return "is larger than an import may be";
    case TextFileFailure::notUtf8: return "is not UTF-8 text";
    }
    return "cannot be read";
}

constexpr int kCardPadding = 18;
constexpr int kCardCornerRadius = 14;
constexpr int kRowSpacing = 8;  // the platform's default spacing between the items of a row

// The open panel's choices: comma-separated text or plain text.
QStringList csvNameFilters() {
    return {QObject::tr("CSV or plain text (*.csv *.CSV *.txt *.TXT *.text)")};
}

QLabel* textLabel(const QFont& font, const QColor& colour, QWidget* parent = nullptr) {
    QLabel* label = plainLabel(QString(), font, colour, parent);
    label->setWordWrap(true);
    return label;
}

// A text that wraps to the width it is given and asks for no more than its width on one line,
// so the card around it is only as wide as the text needs.
class FittingText final : public QLabel {
public:
    FittingText(const QString& text, const QFont& font, const QColor& colour) {
        setText(text);
        setFont(font);
        setTextFormat(Qt::PlainText);
        setWordWrap(true);
        setTextColour(*this, colour);
    }
    QSize sizeHint() const override {
        const QMargins margins = contentsMargins();
        const int oneLine = fontMetrics().horizontalAdvance(text()) + 1 + margins.left() + margins.right();
        return {oneLine, heightForWidth(oneLine)};
    }
};

}  // namespace

ImportView::ImportView(SolveModel& model, const Platform& platform, QWidget* parent)
    : WorkspacePane(parent), m_model(model), m_platform(platform), m_status(noFileLoadedStatus()) {
    setObjectName(QStringLiteral("importView"));
    fillWithBackground(*this);

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("importContent"));
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(16, 16, 16, 16);
    stack->setSpacing(16);
    auto* intro = new PaneIntro(QStringLiteral("Load a CSV from Garmin Xero, LabRadar or MagnetoSpeed \u2014 Kavrino "
                                               "detects the velocity column automatically."));
    intro->setObjectName(QStringLiteral("importIntro"));
    stack->addWidget(intro);
    stack->addWidget(buildChronographCard());
    stack->addWidget(buildDragCurveCard(), 0, Qt::AlignLeft);
    stack->addStretch(1);

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("importScroll"));
    preparePaneScrollArea(*scroll);
    setPaneScrollContent(*scroll, content);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    observe(&m_model, &SolveModel::changed, this, &ImportView::refresh);
    refresh();
}

ImportView::~ImportView() = default;

QWidget* ImportView::buildChronographCard() {
    auto* body = new QWidget;
    auto* rows = new QVBoxLayout(body);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(14);

    auto* heading = new QHBoxLayout;
    heading->setSpacing(kRowSpacing);
    heading->addWidget(new SectionLabel(QStringLiteral("Chronograph")), 0, Qt::AlignVCenter);
    heading->addStretch(1);
    m_chooseButton = new StyledButton(tr("Choose CSV"), PrimaryButtonStyle{Palette::accent()});
    m_chooseButton->setObjectName(QStringLiteral("chooseCsvButton"));
    m_chooseButton->setIcon(symbolIcon(QStringLiteral("doc.badge.plus")));
    connect(m_chooseButton, &QPushButton::clicked, this, &ImportView::chooseChronographFile);
    heading->addWidget(m_chooseButton, 0, Qt::AlignVCenter);
    rows->addLayout(heading);

    m_statusLine = textLabel(uiFont(10), Palette::textTertiary());  // the caption style
    m_statusLine->setObjectName(QStringLiteral("importStatus"));
    rows->addWidget(m_statusLine);

    m_tiles = new QWidget;
    m_tiles->setObjectName(QStringLiteral("chronographTiles"));
    auto* tiles = new QHBoxLayout(m_tiles);
    tiles->setContentsMargins(0, 0, 0, 0);
    tiles->setSpacing(12);
    const QColor accents[] = {Palette::textPrimary(), Palette::accentBright(), Palette::textPrimary(),
                              Palette::textPrimary()};
    for (std::size_t i = 0; i < m_tileWidgets.size(); ++i) {
        m_tileWidgets[i] = new StatTile(QString::fromLatin1(chronographTiles[i].label), QString(), accents[i]);
        m_tileWidgets[i]->setObjectName(QString::fromLatin1(chronographTiles[i].objectName));
        tiles->addWidget(m_tileWidgets[i], 1, Qt::AlignVCenter);
    }
    rows->addWidget(m_tiles);

    m_applyButton = new StyledButton(tr("Use average as muzzle velocity"), SecondaryButtonStyle{Palette::orange()});
    m_applyButton->setObjectName(QStringLiteral("useAverageButton"));
    m_applyButton->setIcon(symbolIcon(QStringLiteral("arrow.down.circle")));
    connect(m_applyButton, &QPushButton::clicked, this, &ImportView::applyAverage);
    rows->addWidget(m_applyButton, 0, Qt::AlignLeft);

    PanelCard* card = panelDecoration(body, kCardPadding, kCardCornerRadius);
    card->setObjectName(QStringLiteral("chronographCard"));
    return card;
}

QWidget* ImportView::buildDragCurveCard() {
    auto* body = new QWidget;
    auto* rows = new QVBoxLayout(body);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(12);
    rows->addWidget(new SectionLabel(QStringLiteral("Custom Drag Curve (Cd vs Mach)")), 0, Qt::AlignLeft);

    auto* explanation = new FittingText(
        tr("Load a measured Doppler drag curve (two-column CSV: mach, cd) to solve with the bullet's actual drag "
           "instead of G1/G7 \u2014 the closest drop and drift predictions you can get through transonic and beyond."),
        calloutFont(), Palette::textSecondary());
    explanation->setObjectName(QStringLiteral("dragCurveExplanation"));
    rows->addWidget(explanation);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(kRowSpacing);
    m_importCurveButton = new StyledButton(tr("Import drag curve"), PrimaryButtonStyle{Palette::accent()});
    m_importCurveButton->setObjectName(QStringLiteral("importDragCurveButton"));
    m_importCurveButton->setIcon(symbolIcon(QStringLiteral("waveform.path.ecg")));
    connect(m_importCurveButton, &QPushButton::clicked, this, &ImportView::importDragCurve);
    m_clearButton = new StyledButton(tr("Clear"), SecondaryButtonStyle{Palette::red()});
    m_clearButton->setObjectName(QStringLiteral("clearDragCurveButton"));
    m_clearButton->setIcon(symbolIcon(QStringLiteral("xmark")));
    connect(m_clearButton, &QPushButton::clicked, this, &ImportView::clearDragCurve);
    actions->addWidget(m_importCurveButton, 0, Qt::AlignVCenter);
    actions->addWidget(m_clearButton, 0, Qt::AlignVCenter);
    actions->addStretch(1);
    rows->addLayout(actions);

    m_activeRow = new QWidget;
    m_activeRow->setObjectName(QStringLiteral("activeCurveRow"));
    auto* active = new QHBoxLayout(m_activeRow);
    active->setContentsMargins(0, 0, 0, 0);
    active->setSpacing(8);
    auto* badge = new Badge(QStringLiteral("ACTIVE"), Palette::green());
    badge->setObjectName(QStringLiteral("activeCurveBadge"));
    active->addWidget(badge, 0, Qt::AlignVCenter);
    m_activeSummary = textLabel(calloutFont(), Palette::textPrimary());
    m_activeSummary->setObjectName(QStringLiteral("activeCurveSummary"));
    active->addWidget(m_activeSummary, 1, Qt::AlignVCenter);
    rows->addWidget(m_activeRow);

    PanelCard* card = panelDecoration(body, kCardPadding, kCardCornerRadius);
    card->setObjectName(QStringLiteral("dragCurveCard"));
    return card;
}

std::optional<ImportView::ChosenFile> ImportView::chooseFile(const QString& title) {
    const std::optional<QString> path = m_platform.dialogs.chooseFileToOpen(title, csvNameFilters());
    if (!path) return std::nullopt;
    auto read = readUtf8TextFile(*path, largestCSVFileBytes);
    if (auto* failure = std::get_if<TextFileFailure>(&read)) {
        warnAboutFile(*path, readFailureText(*failure));
        // A file that cannot be read or is not UTF-8 changes nothing, not even the status line;
        // one over the bound is worth saying, since the user cannot tell from looking at it.
        if (*failure == TextFileFailure::tooLarge) setStatus(fileTooLargeStatus());
        return std::nullopt;
    }
    return ChosenFile{*path, std::move(std::get<std::string>(read))};
}

template <typename Result>
void ImportView::parseThen(const QString& path, std::string text, Result (*parse)(std::string_view),
                           std::function<void(Result)> show) {
    if (text.size() <= largestTextParsedAtOnce) {
        show(parse(text));
        emit fileActionFinished();
        return;
    }
    setReading(true);
    // A pane that goes first drops the result. A parse that threw (out of memory, say) leaves
    // everything as a file that cannot be read does.
    runBackgroundJob(
        this, [text = std::move(text), parse] { return parse(text); },
        [this, path, show = std::move(show)](std::optional<Result> result) {
            setReading(false);
            if (result) {
                show(std::move(*result));
            } else {
                warnAboutFile(path, "cannot be read: parsing it failed");
            }
            emit fileActionFinished();
        });
}

void ImportView::chooseChronographFile() {
    if (m_reading) return;
    std::optional<ChosenFile> file = chooseFile(tr("Choose CSV"));
    if (!file) {
        emit fileActionFinished();
        return;
    }
    const bool emptyFile = file->text.empty();
    parseThen<std::optional<ChronoImport::Series>>(
        file->path, std::move(file->text), &parseChronographCSV,
        [this, path = file->path, emptyFile](std::optional<ChronoImport::Series> series) {
            showChronograph(std::move(series), path, emptyFile);
        });
}

void ImportView::showChronograph(std::optional<ChronoImport::Series> series, const QString& path, bool emptyFile) {
    if (series) {
        const std::size_t shots = series->velocities().size();
        m_series = std::move(series);
        setStatus(shotsLoadedStatus(shots, fileNameForStatus(path)));
    } else {
        warnAboutFile(path, emptyFile ? "is empty" : "holds no velocity column");
        m_series.reset();
        setStatus(noVelocityColumnStatus());
    }
}

void ImportView::applyAverage() {
    if (!m_series) return;
    const double average = m_series->average();
    m_model.applyMuzzleVelocity(appliedMuzzleVelocity(average));
    setStatus(averageAppliedStatus(average));
}

void ImportView::importDragCurve() {
    if (m_reading) return;
    std::optional<ChosenFile> file = chooseFile(tr("Import drag curve"));
    if (!file) {
        emit fileActionFinished();
        return;
    }
    const bool emptyFile = file->text.empty();
    parseThen<std::optional<DragCurve>>(
        file->path, std::move(file->text), &parseDragCurveCSV,
        [this, path = file->path, emptyFile](std::optional<DragCurve> curve) {
            showDragCurve(std::move(curve), path, emptyFile);
        });
}

void ImportView::showDragCurve(std::optional<DragCurve> curve, const QString& path, bool emptyFile) {
    if (!curve) {
        warnAboutFile(path, emptyFile ? "is empty" : "holds no drag curve of at least three Mach and Cd rows");
        setStatus(noDragCurveStatus());
        return;
    }
    const std::size_t rows = curve->size();
    m_model.applyCustomCurve(std::move(curve), curveNameForFile(path));
    setStatus(dragCurveLoadedStatus(rows));
}

void ImportView::clearDragCurve() {
    m_model.applyCustomCurve(std::nullopt, std::nullopt);
}

void ImportView::setStatus(const QString& status) {
    m_status = status;
    refresh();
}

void ImportView::setReading(bool reading) {
    m_reading = reading;
    if (reading) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
    refresh();
}

void ImportView::refresh() {
    m_statusLine->setText(m_status);
    m_chooseButton->setEnabled(!m_reading);
    m_importCurveButton->setEnabled(!m_reading);

    m_tiles->setVisible(m_series.has_value());
    m_applyButton->setVisible(m_series.has_value());
    if (m_series) {
        const std::array<QString, 4> values = chronographTileValues(*m_series);
        for (std::size_t i = 0; i < values.size(); ++i) m_tileWidgets[i]->setValue(values[i]);
    }

    const std::optional<DragCurve>& curve = m_model.customCurve();
    const std::optional<QString>& name = m_model.customCurveName();
    m_clearButton->setVisible(curve.has_value());
    m_activeRow->setVisible(curve && name);
    if (curve && name) m_activeSummary->setText(dragCurveSummary(*name, *curve));
}

}  // namespace kavrino
