#include "panes/truing/truing_view.h"

#include "app/theme/components/button_styles.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/pane_intro.h"
#include "app/theme/components/section_label.h"
#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/components/toggle_switch.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "panes/truing/observation_row.h"
#include "panes/truing/truing_model.h"
#include "panes/truing/truing_result_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kavrino {
namespace {

constexpr int kObservationsWidth = 340;
constexpr int kResultWidth = 320;

// A one-point line in Palette::stroke(), 4 points clear above and below.
class PanelDivider final : public QWidget {
public:
    explicit PanelDivider(QWidget* parent = nullptr) : QWidget(parent) {
        setFixedHeight(1 + 2 * 4);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(QRect(0, 4, width(), 1), Palette::stroke()); }
};

}  // namespace

TruingView::TruingView(bool demonstrationPreset, QWidget* parent)
    : TruingView(std::make_unique<TruingModel>(), demonstrationPreset, parent) {}

TruingView::TruingView(std::unique_ptr<TruingModel> model, bool demonstrationPreset, QWidget* parent)
    : WorkspacePane(parent), m_model(std::move(model)), m_demonstrationPreset(demonstrationPreset) {
    setObjectName(QStringLiteral("truingView"));
    fillWithBackground(*this);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("truingScroll"));
    preparePaneScrollArea(*m_scroll);

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("truingContent"));
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(16);
    column->addWidget(new PaneIntro(tr("Enter your observed come-ups at known distances. Kavrino fits muzzle "
                                       "velocity (and optionally a BC scale) so your DOPE matches reality.")));

    auto* panels = new QHBoxLayout;
    panels->setSpacing(16);
    PanelCard* observations = panelDecoration(buildObservations(), 18, 14);
    observations->setObjectName(QStringLiteral("observationsCard"));
    panels->addWidget(observations, 0, Qt::AlignTop);
    m_result = new TruingResultPanel;
    m_result->setFixedWidth(kResultWidth);
    connect(m_result, &TruingResultPanel::applyClicked, this, [this] {
        if (m_model->result()) m_model->setMuzzleVelocity(m_model->result()->muzzleVelocity);
    });
    m_resultCard = panelDecoration(m_result, 18, 14);
    m_resultCard->setObjectName(QStringLiteral("resultCard"));
    panels->addWidget(m_resultCard, 0, Qt::AlignTop);
    panels->addStretch(1);
    column->addLayout(panels);
    column->addStretch(1);

    setPaneScrollContent(*m_scroll, content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);

    connect(m_model.get(), &TruingModel::changed, this, &TruingView::refresh);
    refresh();
}

TruingView::~TruingView() {
    // The rows' fields report to the model, which goes with this pane: take their last edits
    // now, while both are whole, without showing them again.
    disconnect(m_model.get(), nullptr, this, nullptr);
    for (ObservationRow* row : observationRows()) {
        row->rangeField()->commitPending();
        row->dropField()->commitPending();
    }
}

QWidget* TruingView::buildObservations() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("observationsPanel"));
    panel->setFixedWidth(kObservationsWidth);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(new SectionLabel(tr("Observations")));

    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("observationRows"));
    m_rowsLayout = new QVBoxLayout(rows);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(8);
    column->addWidget(rows);

    auto* add = new StyledButton(tr("Add observation"), SecondaryButtonStyle{Palette::textPrimary()});
    add->setObjectName(QStringLiteral("addObservationButton"));
    add->setIcon(symbolIcon(QStringLiteral("plus")));
    connect(add, &QPushButton::clicked, this, [this] { m_model->addObservation(); });
    column->addWidget(add, 0, Qt::AlignLeft);

    column->addWidget(new PanelDivider);

    auto* toggleRow = new QHBoxLayout;
    auto* toggleLabel = new QLabel(tr("Also true BC (\u00b115%)"));
    toggleLabel->setTextFormat(Qt::PlainText);
    toggleLabel->setFont(uiFont(13));
    QPalette labelColours = toggleLabel->palette();
    labelColours.setColor(QPalette::WindowText, Palette::textPrimary());
    toggleLabel->setPalette(labelColours);
    m_trueBC = new ToggleSwitch;
    m_trueBC->setObjectName(QStringLiteral("trueBCToggle"));
    m_trueBC->setAccessibleName(toggleLabel->text());
    toggleLabel->setBuddy(m_trueBC);
    // clicked() comes from the user only, never from refresh() setting the state.
    connect(m_trueBC, &ToggleSwitch::clicked, this, [this](bool on) { m_model->setTrueBC(on); });
    toggleRow->addWidget(toggleLabel);
    toggleRow->addStretch(1);
    toggleRow->addWidget(m_trueBC, 0, Qt::AlignVCenter);
    column->addLayout(toggleRow);

    auto* solve = new StyledButton(tr("Solve Truing"), PrimaryButtonStyle{Palette::accent()});
    solve->setObjectName(QStringLiteral("solveTruingButton"));
    solve->setIcon(symbolIcon(QStringLiteral("scope")));
    solve->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(solve, &QPushButton::clicked, this, &TruingView::solveTruing);
    column->addWidget(solve);
    return panel;
}

std::vector<ObservationRow*> TruingView::observationRows() const {
    std::vector<ObservationRow*> rows;
    for (int i = 0; i < m_rowsLayout->count(); ++i) {
        if (auto* row = qobject_cast<ObservationRow*>(m_rowsLayout->itemAt(i)->widget())) rows.push_back(row);
    }
    return rows;
}

void TruingView::syncRows() {
    const std::vector<TruingModel::Observation>& observations = m_model->observations();
    std::map<QUuid, ObservationRow*> kept;
    for (const TruingModel::Observation& o : observations) {
        auto found = m_rows.find(o.id);
        if (found != m_rows.end()) {
            kept.insert(*found);
            m_rows.erase(found);
        }
    }
    // Rows whose observation is gone: their button may be the one being clicked, so they are
    // deleted once the click is over, and they report nothing more.
    for (const auto& [id, row] : m_rows) {
        row->disconnect();
        m_rowsLayout->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    m_rows = std::move(kept);

    std::vector<ObservationRow*> ordered;
    ordered.reserve(observations.size());
    for (const TruingModel::Observation& o : observations) {
        ObservationRow*& row = m_rows[o.id];
        if (row == nullptr) {
            row = new ObservationRow(o.id);
            connect(row, &ObservationRow::rangeCommitted, m_model.get(), &TruingModel::setObservationRange);
            connect(row, &ObservationRow::dropCommitted, m_model.get(), &TruingModel::setObservationDrop);
            connect(row, &ObservationRow::removeClicked, m_model.get(), &TruingModel::removeObservation);
        }
        ordered.push_back(row);
    }
    // Rows in list order; existing rows keep their widgets, so a field being typed in keeps its
    // text and focus.
    if (ordered != observationRows()) {
        while (m_rowsLayout->count() > 0) delete m_rowsLayout->takeAt(0);
        for (ObservationRow* row : ordered) m_rowsLayout->addWidget(row);
    }
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const TruingModel::Observation& o = observations[i];
        ordered[i]->setNumber(int(i) + 1);
        ordered[i]->setValues(o.rangeYards, o.dropMOA);
        ordered[i]->show();
    }
}

void TruingView::refresh() {
    syncRows();
    m_trueBC->setChecked(m_model->trueBC());
    const std::optional<TruingModel::Result>& result = m_model->result();
    if (result) m_result->showResult(*result, *m_model);
    m_resultCard->setVisible(result.has_value());
}

void TruingView::solveTruing() { m_model->fitTruing(); }

void TruingView::appear() {
    if (m_model->result() || !m_demonstrationPreset) return;
    m_model->fitTruing();
}

}  // namespace kavrino
