#include "app/shell/header_bar.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/typeface.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kavrino {
namespace {

}  // namespace

HeaderBar::HeaderBar(WorkspaceTab tab, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("headerBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(22, 18, 22, 14);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    m_group = plainLabel(QString(), uiFont(10, QFont::DemiBold, 1.4), Palette::textTertiary(), this);
    m_group->setObjectName(QStringLiteral("headerGroup"));
    m_title = plainLabel(QString(), uiFont(19, QFont::DemiBold), Palette::textPrimary(), this);
    m_title->setObjectName(QStringLiteral("headerTitle"));
    texts->addWidget(m_group);
    texts->addWidget(m_title);
    row->addLayout(texts);
    row->addStretch(1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setTab(tab);
}

void HeaderBar::setTab(WorkspaceTab tab) {
    m_group->setText(group(tab));
    m_title->setText(title(tab));
}

QString HeaderBar::groupText() const { return m_group->text(); }
QString HeaderBar::titleText() const { return m_title->text(); }

}  // namespace kavrino
