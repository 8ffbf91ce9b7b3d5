#include "app/theme/components/form_section.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace kavrino {
namespace {

constexpr double kGroupRadius = 8;
constexpr int kRowHeight = 34;

QColor groupFill() { return QColor::fromRgbF(1, 1, 1, 0.035f); }
QColor groupBorder() { return QColor::fromRgbF(1, 1, 1, 0.07f); }

// The rounded group; draws the hairlines between its rows.
class RowGroup final : public QWidget {
public:
    explicit RowGroup(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintCard(painter, QRectF(rect()), kGroupRadius, groupFill(), groupBorder());
        const QObjectList rows = children();
        bool first = true;
        for (const QObject* child : rows) {
            const auto* row = qobject_cast<const QWidget*>(child);
            if (row == nullptr || !row->isVisible()) continue;
            if (!first) painter.fillRect(QRectF(10, row->y(), width() - 20, 1), groupBorder());
            first = false;
        }
    }
};

}  // namespace

FormSection::FormSection(const QString& title, QWidget* parent) : QWidget(parent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    m_title = new QLabel(title, this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(uiFont(13, QFont::DemiBold));
    setTextColour(*m_title, Palette::textPrimary());
    m_title->setContentsMargins(10, 0, 0, 0);
    stack->addWidget(m_title);

    m_group = new RowGroup(this);
    m_rows = new QVBoxLayout(m_group);
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    stack->addWidget(m_group);
}

QWidget* FormSection::addRow(QLayout* layout) {
    auto* row = new QWidget(m_group);
    row->setMinimumHeight(kRowHeight);
    layout->setContentsMargins(10, 4, 10, 4);
    row->setLayout(layout);
    m_rows->addWidget(row);
    return row;
}

QString FormSection::title() const { return m_title->text(); }

}  // namespace kavrino
