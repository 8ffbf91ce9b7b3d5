#include "app/theme/app_theme.h"

#include "app/theme/palette.h"
#include "app/theme/typeface.h"

#include <QApplication>
#include <QStyleFactory>

namespace kavrino {

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, Palette::background());
    p.setColor(QPalette::WindowText, Palette::textPrimary());
    p.setColor(QPalette::Base, Palette::panel());
    p.setColor(QPalette::AlternateBase, Palette::raised());
    p.setColor(QPalette::Text, Palette::textPrimary());
    p.setColor(QPalette::PlaceholderText, Palette::textTertiary());
    p.setColor(QPalette::Button, Palette::raised());
    p.setColor(QPalette::ButtonText, Palette::textPrimary());
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::ToolTipBase, Palette::panel());
    p.setColor(QPalette::ToolTipText, Palette::textPrimary());
    p.setColor(QPalette::Highlight, Palette::accent());
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, Palette::accentBright());
    p.setColor(QPalette::LinkVisited, Palette::accentBright());
    p.setColor(QPalette::Light, Palette::raised());
    p.setColor(QPalette::Midlight, Palette::raised());
    p.setColor(QPalette::Mid, Palette::stroke());
    p.setColor(QPalette::Dark, Palette::stroke());
    p.setColor(QPalette::Shadow, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, Palette::textTertiary());
    }
    return p;
}

void applyTheme(QApplication& application) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) application.setStyle(fusion);
    QApplication::setPalette(darkPalette());
    installUiFonts();
}

}  // namespace kavrino
