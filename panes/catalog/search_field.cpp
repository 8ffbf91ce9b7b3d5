#include "panes/catalog/search_field.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

namespace kavrino {
namespace {

constexpr int kIconPoints = 12;
constexpr int kSpacing = 6;
constexpr int kHorizontalPadding = 11;
constexpr int kVerticalPadding = 6;

// The magnifying glass, tinted for the device pixel ratio it is drawn at.
class SearchSymbol final : public QWidget {
public:
    explicit SearchSymbol(QWidget* parent) : QWidget(parent) {
        setFixedSize(kIconPoints, kIconPoints);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QPixmap glass = tintedPixmap(symbolIcon(QStringLiteral("magnifyingglass")), Palette::textTertiary(),
                                           kIconPoints, devicePixelRatioF());
        painter.drawPixmap(QRectF(rect()), glass, QRectF(glass.rect()));
    }
};

}  // namespace

SearchField::SearchField(const QString& placeholder, QWidget* parent) : QWidget(parent) {
    auto* symbol = new SearchSymbol(this);

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("searchFieldEdit"));
    m_edit->setFrame(false);
    m_edit->setPlaceholderText(placeholder);
    m_edit->setAccessibleName(placeholder);
    m_edit->setFont(uiFont(13));
    m_edit->setTextMargins(0, 0, 0, 0);
    m_edit->setContentsMargins(0, 0, 0, 0);
    m_edit->setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette colours = m_edit->palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Text, Palette::textPrimary());
    colours.setColor(QPalette::PlaceholderText, Palette::textTertiary());
    m_edit->setPalette(colours);
    m_edit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    connect(m_edit, &QLineEdit::textChanged, this, &SearchField::textChanged);
    setFocusProxy(m_edit);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kHorizontalPadding, kVerticalPadding, kHorizontalPadding, kVerticalPadding);
    layout->setSpacing(kSpacing);
    layout->addWidget(symbol, 0, Qt::AlignVCenter);
    layout->addWidget(m_edit, 1, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::IBeamCursor);
}

QString SearchField::text() const { return m_edit->text(); }

void SearchField::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintCapsuleCard(painter, QRectF(rect()), Palette::panel(), Palette::stroke());
}

void SearchField::mousePressEvent(QMouseEvent*) {
    // A click on the capsule around the text starts typing, as on the field itself.
    m_edit->setFocus(Qt::MouseFocusReason);
}

}  // namespace kavrino
