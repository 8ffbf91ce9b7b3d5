#include "app/theme/panel_decoration.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"

#include <QChildEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace kavrino {
namespace {

// The card's border as a child above the content, so it is drawn over the content's edge.
class CardBorder final : public QWidget {
public:
    CardBorder(int cornerRadius, QWidget* parent) : QWidget(parent), m_cornerRadius(cornerRadius) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintInnerBorder(painter, QRectF(rect()), m_cornerRadius, Palette::stroke());
    }

private:
    int m_cornerRadius;
};

}  // namespace

PanelCard::PanelCard(QWidget* content, int padding, int cornerRadius, QWidget* parent)
    : QWidget(parent), m_content(content), m_padding(padding), m_cornerRadius(cornerRadius) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(0);
    if (m_content != nullptr) layout->addWidget(m_content);
    m_border = new CardBorder(cornerRadius, this);
    m_border->setGeometry(rect());
    m_border->raise();
}

void PanelCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::panel());
    painter.drawPath(continuousRoundedRect(QRectF(rect()), m_cornerRadius));
}

void PanelCard::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_border->setGeometry(rect());
}

bool PanelCard::event(QEvent* event) {
    // A child added after construction must not cover the border.
    if (event->type() == QEvent::ChildAdded && m_border != nullptr) {
        auto* added = static_cast<QChildEvent*>(event)->child();
        if (added != m_border) m_border->raise();
    }
    return QWidget::event(event);
}

PanelCard* panelDecoration(QWidget* content, int padding, int cornerRadius) {
    return new PanelCard(content, padding, cornerRadius);
}

}  // namespace kavrino
