#pragma once
// A segmented picker: a row of text segments of which at most one is selected. It reports the
// segment the user clicks and leaves the selection to its owner, so a selection that none of
// the segments stands for (no segment lit) can be shown.
#include <QStringList>
#include <QWidget>

namespace kavrino {

class SegmentedPicker final : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedPicker(const QStringList& segments, QWidget* parent = nullptr);

    // -1 lights no segment.
    void setSelectedIndex(int index);
    int selectedIndex() const { return m_selected; }
    int count() const { return int(m_segments.size()); }
    QString segmentText(int index) const { return m_segments.value(index); }
    // Replaces the text of an existing segment (a count in a title that changes).
    void setSegmentText(int index, const QString& text);
    // The segment's rectangle in this widget's coordinates (tests click there).
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void segmentClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringList m_segments;
    int m_selected = -1;
};

}  // namespace kavrino
