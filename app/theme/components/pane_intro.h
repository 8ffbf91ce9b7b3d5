#pragma once
// The explanatory line at the top of a pane: the text as given, callout style,
// Palette::textSecondary(), wrapped to the pane's width.
#include <QLabel>

namespace kavrino {

class PaneIntro final : public QLabel {
    Q_OBJECT
public:
    explicit PaneIntro(const QString& text, QWidget* parent = nullptr);
};

}  // namespace kavrino
