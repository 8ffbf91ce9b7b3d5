#pragma once
// The import pane: a chronograph card that reads a chronograph export, shows its shot
// statistics and applies their average as the muzzle velocity, and a drag-curve card that
// loads a measured Cd-vs-Mach curve into the shared solve model (or clears it). One status
// line, in the chronograph card, reports the last file action of either card.
//
// Files come through the platform's open panel and are read as strict UTF-8. A large file is
// parsed off the GUI thread; while it is, neither card opens another file, and a pane that
// goes away meanwhile drops the result.
#include "app/workspace/workspace_pane.h"
#include "core/chrono_import.h"

#include <QString>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QLabel;

namespace kavrino {

class Badge;
class SolveModel;
class StatTile;
class StyledButton;
struct Platform;

class ImportView final : public WorkspacePane {
    Q_OBJECT
public:
    ImportView(SolveModel& model, const Platform& platform, QWidget* parent = nullptr);
    ~ImportView() override;

    // The four actions, as their buttons run them.
    void chooseChronographFile();  // "Choose CSV"
    void applyAverage();           // "Use average as muzzle velocity"
    void importDragCurve();        // "Import drag curve"
    void clearDragCurve();         // "Clear"

    const std::optional<ChronoImport::Series>& series() const { return m_series; }
    QString status() const { return m_status; }
    // A chosen file is being parsed off the GUI thread.
    bool isReading() const { return m_reading; }

    // Texts at or below this many bytes are parsed at once, inside the button's action;
    // longer ones in the background.
    static constexpr std::size_t largestTextParsedAtOnce = std::size_t{1} << 20;

signals:
    // A file action has ended, whatever its outcome (cancelled included), and the pane shows it.
    void fileActionFinished();

private:
    struct ChosenFile {
        QString path;
        std::string text;
    };
    std::optional<ChosenFile> chooseFile(const QString& title);
    template <typename Result>
    void parseThen(const QString& path, std::string text, Result (*parse)(std::string_view),
                   std::function<void(Result)> show);
    // What came of the file at `path`; `emptyFile`: it held no text (a byte-order mark at most).
    void showChronograph(std::optional<ChronoImport::Series> series, const QString& path, bool emptyFile);
    void showDragCurve(std::optional<DragCurve> curve, const QString& path, bool emptyFile);
    void setStatus(const QString& status);
    void setReading(bool reading);
    QWidget* buildChronographCard();
    QWidget* buildDragCurveCard();
    void refresh();

    SolveModel& m_model;
    const Platform& m_platform;
    std::optional<ChronoImport::Series> m_series;
    QString m_status;
    bool m_reading = false;

    StyledButton* m_chooseButton = nullptr;
    QLabel* m_statusLine = nullptr;
    QWidget* m_tiles = nullptr;
    std::array<StatTile*, 4> m_tileWidgets{};
    StyledButton* m_applyButton = nullptr;
    StyledButton* m_importCurveButton = nullptr;
    StyledButton* m_clearButton = nullptr;
    QWidget* m_activeRow = nullptr;
    QLabel* m_activeSummary = nullptr;
};

}  // namespace kavrino
