#pragma once
// The reload data catalog: the hand loads, cartridge cases and powders of the three reload data
// files, with the indexes the reload pane browses by (cases by normalized name, cartridge
// summaries, powders in burn-rate order).
//
// Loading is separate from the catalog: buildReloadData() reads and indexes the files of any
// ResourceLookup and touches nothing shared; ReloadCatalog runs it on a worker thread and
// publishes the result on its own thread in one step. Tests build catalogs of their own over a
// fixture folder; the application object owns the one over the bundled files and hands it to
// the panes.
#include "core/resource_lookup.h"
#include "reload/reload_records.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <optional>
#include <vector>

namespace kavrino {

// Everything one load of the three files yields, indexes built.
struct ReloadData {
    std::vector<Load> loads;           // ids replaced by their positions "0", "1", …
    QStringList sources;
    QHash<QString, CaseInfo> cases;    // by normalizedKey of the case name; a later duplicate wins
    std::vector<Powder> powders;       // in burn-rate order, unranked last; ids gain "#<position>"
    std::vector<CartridgeSummary> cartridges;  // sorted by name
    std::vector<QString> powderKeys;   // powderKey of each powder, in the same order
};

// The largest reload data file read, in bytes: some 200,000 loads with every field written out,
// several times the tens of thousands the catalog is made for. A larger file is a broken file.
inline constexpr qint64 kMaxReloadFileBytes = qint64(64) << 20;

// Reads "app_loads.json", "app_cases.json" and "app_powders.json" from `files` and builds the
// indexes. No value when any of the three is missing, unreadable, malformed or too large.
std::optional<ReloadData> buildReloadData(const ResourceLookup& files);

// How a catalog builds its data from its files on the worker thread: buildReloadData, or a
// stand-in of a test's.
using ReloadDataBuilder = std::optional<ReloadData> (*)(const ResourceLookup& files);

class ReloadCatalog : public QObject {
    Q_OBJECT
public:
    // Over `files` (the bundled files by default); not loaded yet.
    explicit ReloadCatalog(ResourceLookup files = ResourceLookup(), QObject* parent = nullptr);
    // Over `files`, built by `build` rather than buildReloadData.
    ReloadCatalog(ResourceLookup files, ReloadDataBuilder build, QObject* parent = nullptr);

    // Starts a background load unless the catalog is loaded or a load is already running; call
    // on the catalog's thread. changed() follows once when the result is published (loaded) or
    // the load failed (loadFailed), a load that threw included; a call after a failure tries again.
    void loadIfNeeded();

    bool loaded() const { return m_loaded; }
    bool loadFailed() const { return m_loadFailed; }
    const std::vector<Load>& loads() const { return m_data.loads; }
    const QStringList& sources() const { return m_data.sources; }
    const QHash<QString, CaseInfo>& cases() const { return m_data.cases; }
    const std::vector<Powder>& powders() const { return m_data.powders; }
    const std::vector<CartridgeSummary>& cartridges() const { return m_data.cartridges; }

    // Lower-cased, keeping only letters, marks and numbers of any script: ".308 Win." and
    // "308 win" give the same key.
    static QString normalizedKey(const QString& text);
    // "<manufacturer key>|<name key>", with the manufacturer's name or initial dropped from the
    // front of the name, so "Hodgdon" "H4350" and "Hodgdon" "4350" match.
    static QString powderKey(const std::optional<QString>& manufacturer, const std::optional<QString>& name);

    // The case filed under the normalized cartridge name (no name counts as "").
    std::optional<CaseInfo> caseInfo(const std::optional<QString>& cartridge) const;
    // The loads whose cartridge is exactly `cartridge`, in catalog order.
    std::vector<Load> loadsForCartridge(const QString& cartridge) const;
    // The first powder, in burn-rate order, whose powder key matches the load's.
    std::optional<Powder> powder(const Load& load) const;

    // Publishes a finished load now, as the background load does; for callers that load
    // synchronously (benchmarks, tests).
    void publish(std::optional<ReloadData> data);

signals:
    void changed();

private:
    ResourceLookup m_files;
    ReloadDataBuilder m_build;
    bool m_loaded = false;
    bool m_loadFailed = false;
    bool m_loading = false;  // a background load is running; its result is still to come
    ReloadData m_data;
};

}  // namespace kavrino
