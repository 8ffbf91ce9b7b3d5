#pragma once
// What the reload pane shows, without widgets: the user's cartridge, load, powder charge and
// barrel length over the reload catalog, the choices and predictions derived from them,
// and the chain that picks a sensible cartridge, load, barrel length and charge by itself.
//
// The chain runs through its triggers: a new cartridge selects its default load, a new load
// applies its defaults. resolveSelection() and selectDefaultLoad() also call the next step
// themselves, so the trigger repeats it; every step gives the same values for the same inputs,
// so the repeats change nothing. One changed() follows each outermost change.
#include "reload/ballistics.h"
#include "reload/reload_records.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kavrino {

class PaneConnections;
class ReloadCatalog;

// A load of the chosen cartridge that can be predicted, with the powder matched to it.
struct LoadOption {
    Load load;
    Powder powder;  // always has params
};

class ReloadSelection final : public QObject {
    Q_OBJECT
public:
    // Follows the catalog's changes through `connections`, the pane's.
    ReloadSelection(ReloadCatalog& catalog, PaneConnections& connections, QObject* parent = nullptr);

    const ReloadCatalog& catalog() const { return m_catalog; }

    // The five stored values; "" is no cartridge or no load.
    const QString& cartridge() const { return m_cartridge; }
    const QString& loadId() const { return m_loadId; }
    double chargeGr() const { return m_chargeGr; }
    double barrelLengthIn() const { return m_barrelLengthIn; }

    // A new cartridge selects its default load; a new load applies its defaults (barrel length
    // from the load, suggested charge). Charge and barrel length change the predictions only.
    void setCartridge(const QString& cartridge);
    void setLoadId(const QString& id);
    void setChargeGr(double grains);
    void setBarrelLengthIn(double inches);

    // The pane comes on screen: the catalog is asked to load (again, after a failure), then the
    // selection is resolved.
    void appear();

    // With the catalog loaded and no cartridge yet: a 6.5 Creedmoor, else the first cartridge
    // with a usable load, else the first; then its default load.
    void resolveSelection();
    // A 135–147 gr load with a powder whose name holds "4350", else any load with such a
    // powder, else the heaviest bullet (the first of equals); the barrel length of the load or
    // of the case; then the load's defaults.
    void selectDefaultLoad();
    // The load's own barrel length, and the suggested charge.
    void applyLoadDefaults();

    // Cartridges with a case capacity, in catalog order.
    QStringList cartridgeChoices() const;
    // The chosen cartridge's loads with bullet weight and diameter and a start charge below the
    // maximum, whose powder is known with its parameters; in catalog order.
    const std::vector<LoadOption>& loadOptions() const;
    // The option whose load is loadId(); none when there is no such option.
    const LoadOption* selectedOption() const;
    // The case data of the chosen cartridge.
    std::optional<CaseInfo> caseInfo() const;
    // The source text of `load`, "Unknown" when its index lies outside the catalog's sources.
    QString sourceText(const Load& load) const;

    // The model's inputs: none without a selected option, its bullet weight or diameter, case
    // data for the cartridge, or a case capacity above zero (a capacity of zero or below has no
    // case volume to predict in).
    std::optional<Ballistics::Inputs> modelInputs() const;
    std::optional<Ballistics::Prediction> predict() const;
    // The charts' 29 points from the start to the maximum charge; empty without inputs.
    std::vector<Ballistics::SweepPoint> chargeSweep() const;

signals:
    void changed();

private:
    class Change;
    void catalogChanged();
    void markChanged() { m_dirty = true; }

    ReloadCatalog& m_catalog;
    QString m_cartridge;
    QString m_loadId;
    double m_chargeGr = 0.0;
    double m_barrelLengthIn = 24.0;

    bool m_catalogLoaded = false;
    int m_changeDepth = 0;
    bool m_dirty = false;
    // loadOptions() for m_cartridge, found once: the catalog never changes once loaded.
    mutable std::optional<std::vector<LoadOption>> m_options;
};

// Whether `text` contains `part` ignoring letter case, matching whole characters only (a match
// followed by a combining mark is part of another character).
bool containsIgnoringCase(const QString& text, const QString& part);

}  // namespace kavrino
