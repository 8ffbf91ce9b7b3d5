#include "panes/reload/reload_selection.h"

#include "app/workspace/pane_connections.h"
#include "reload/reload_catalog.h"

#include <algorithm>
#include <cstring>

namespace kavrino {

namespace {

bool isUsableLoad(const Load& load) {
    return load.bulletWeightGr && load.bulletDiameterIn && load.startChargeGr && load.maxChargeGr;
}

bool extendsCharacter(char32_t codePoint) {
    switch (QChar::category(codePoint)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return codePoint == 0x200D;  // zero-width joiner
    }
}

}  // namespace

bool containsIgnoringCase(const QString& text, const QString& part) {
    if (part.isEmpty()) return true;
    for (qsizetype at = text.indexOf(part, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(part, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + part.size();
        if (end == text.size()) return true;
        char32_t next = text.at(end).unicode();
        if (text.at(end).isHighSurrogate() && end + 1 < text.size())
            next = QChar::surrogateToUcs4(text.at(end), text.at(end + 1));
        if (!extendsCharacter(next)) return true;
    }
    return false;
}

// Groups the changes of one action into one changed(), sent when the outermost one ends.
class ReloadSelection::Change {
public:
    explicit Change(ReloadSelection& selection) : m_selection(selection) { ++m_selection.m_changeDepth; }
    ~Change() {
        if (--m_selection.m_changeDepth == 0 && m_selection.m_dirty) {
            m_selection.m_dirty = false;
            emit m_selection.changed();
        }
    }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

private:
    ReloadSelection& m_selection;
};

ReloadSelection::ReloadSelection(ReloadCatalog& catalog, PaneConnections& connections, QObject* parent)
    : QObject(parent), m_catalog(catalog), m_catalogLoaded(catalog.loaded()) {
    connections.observe(&m_catalog, &ReloadCatalog::changed, this, &ReloadSelection::catalogChanged);
}

void ReloadSelection::catalogChanged() {
    Change change(*this);
    m_options.reset();
    markChanged();  // the flags may have changed: the pane shows another view
    if (m_catalog.loaded() != m_catalogLoaded) {
        m_catalogLoaded = m_catalog.loaded();
        resolveSelection();
    }
}

void ReloadSelection::setCartridge(const QString& cartridge) {
    if (cartridge == m_cartridge) return;
    Change change(*this);
    m_cartridge = cartridge;
    m_options.reset();
    markChanged();
    selectDefaultLoad();
}

void ReloadSelection::setLoadId(const QString& id) {
    if (id == m_loadId) return;
    Change change(*this);
    m_loadId = id;
    markChanged();
    applyLoadDefaults();
}

void ReloadSelection::setChargeGr(double grains) {
    // Compared bit for bit, so a NaN set twice is no change either.
    if (std::memcmp(&grains, &m_chargeGr, sizeof grains) == 0) return;
    Change change(*this);
    m_chargeGr = grains;
    markChanged();
}

void ReloadSelection::setBarrelLengthIn(double inches) {
    if (std::memcmp(&inches, &m_barrelLengthIn, sizeof inches) == 0) return;
    Change change(*this);
    m_barrelLengthIn = inches;
    markChanged();
}

void ReloadSelection::appear() {
    Change change(*this);
    m_catalog.loadIfNeeded();
    resolveSelection();
}

void ReloadSelection::resolveSelection() {
    if (!m_catalog.loaded() || !m_cartridge.isEmpty()) return;
    Change change(*this);
    const QStringList choices = cartridgeChoices();
    QString pick;
    for (const QString& name : choices) {
        if (containsIgnoringCase(name, QStringLiteral("6.5 Creedmoor"))) {
            pick = name;
            break;
        }
    }
    if (pick.isEmpty()) {
        // Unlike loadOptions(), a start charge at or above the maximum still counts here.
        for (const QString& name : choices) {
            const std::vector<Load> loads = m_catalog.loadsForCartridge(name);
            const bool hasUsable = std::any_of(loads.begin(), loads.end(), [this](const Load& load) {
                if (!isUsableLoad(load)) return false;
                const std::optional<Powder> powder = m_catalog.powder(load);
                return powder && powder->params;
            });
            if (hasUsable) {
                pick = name;
                break;
            }
        }
    }
    if (pick.isEmpty() && !choices.isEmpty()) pick = choices.front();
    setCartridge(pick);
    selectDefaultLoad();
}

void ReloadSelection::selectDefaultLoad() {
    Change change(*this);
    const std::vector<LoadOption>& options = loadOptions();
    if (options.empty()) {
        setLoadId(QString());
    } else {
        const auto has4350 = [](const LoadOption& option) {
            return containsIgnoringCase(option.powder.name, QStringLiteral("4350"));
        };
        const LoadOption* pick = nullptr;
        for (const LoadOption& option : options) {
            const double weight = *option.load.bulletWeightGr;
            if (weight >= 135.0 && weight <= 147.0 && has4350(option)) {
                pick = &option;
                break;
            }
        }
        if (pick == nullptr) {
            for (const LoadOption& option : options) {
                if (has4350(option)) {
                    pick = &option;
                    break;
                }
            }
        }
        if (pick == nullptr) {
            pick = &options.front();
            for (const LoadOption& option : options)
                if (*option.load.bulletWeightGr > *pick->load.bulletWeightGr) pick = &option;
        }
        const QString id = pick->load.id;  // setLoadId() may find the options again
        setLoadId(id);
    }

    if (const LoadOption* selected = selectedOption(); selected && selected->load.barrelLengthIn) {
        setBarrelLengthIn(*selected->load.barrelLengthIn);
    } else if (const std::optional<CaseInfo> info = caseInfo(); info && info->barrelLengthIn) {
        setBarrelLengthIn(*info->barrelLengthIn);
    }
    applyLoadDefaults();
}

void ReloadSelection::applyLoadDefaults() {
    const LoadOption* option = selectedOption();
    if (option == nullptr || !option->load.startChargeGr || !option->load.maxChargeGr) return;
    Change change(*this);
    const LoadOption chosen = *option;
    if (chosen.load.barrelLengthIn) setBarrelLengthIn(*chosen.load.barrelLengthIn);
    const std::optional<CaseInfo> info = caseInfo();
    setChargeGr(Ballistics::suggestCharge(*chosen.load.startChargeGr, *chosen.load.maxChargeGr, modelInputs(),
                                          *chosen.powder.params, info ? info->maxPressurePsi : std::nullopt));
}

QStringList ReloadSelection::cartridgeChoices() const {
    QStringList names;
    for (const CartridgeSummary& cartridge : m_catalog.cartridges())
        if (cartridge.info && cartridge.info->caseWaterCapacityGrH2o) names << cartridge.name;
    return names;
}

const std::vector<LoadOption>& ReloadSelection::loadOptions() const {
    if (!m_options) {
        std::vector<LoadOption> options;
        for (Load& load : m_catalog.loadsForCartridge(m_cartridge)) {
            if (!isUsableLoad(load) || !(*load.startChargeGr < *load.maxChargeGr)) continue;
            std::optional<Powder> powder = m_catalog.powder(load);
            if (!powder || !powder->params) continue;
            options.push_back({std::move(load), std::move(*powder)});
        }
        m_options = std::move(options);
    }
    return *m_options;
}

const LoadOption* ReloadSelection::selectedOption() const {
    for (const LoadOption& option : loadOptions())
        if (option.load.id == m_loadId) return &option;
    return nullptr;
}

std::optional<CaseInfo> ReloadSelection::caseInfo() const { return m_catalog.caseInfo(m_cartridge); }

QString ReloadSelection::sourceText(const Load& load) const {
    const QStringList& sources = m_catalog.sources();
    if (load.sourceIndex < 0 || load.sourceIndex >= sources.size()) return QStringLiteral("Unknown");
    return sources.at(qsizetype(load.sourceIndex));
}

std::optional<Ballistics::Inputs> ReloadSelection::modelInputs() const {
    const LoadOption* option = selectedOption();
    if (option == nullptr || !option->load.bulletWeightGr || !option->load.bulletDiameterIn) return std::nullopt;
    const std::optional<CaseInfo> info = caseInfo();
    if (!info || !info->caseWaterCapacityGrH2o || !(*info->caseWaterCapacityGrH2o > 0.0)) return std::nullopt;
    return Ballistics::Inputs{.chargeGr = m_chargeGr,
                              .bulletWeightGr = *option->load.bulletWeightGr,
                              .bulletDiameterIn = *option->load.bulletDiameterIn,
                              .barrelLengthIn = m_barrelLengthIn,
                              .caseCapacityGrH2o = *info->caseWaterCapacityGrH2o,
                              .trimLengthIn = info->trimLengthIn.value_or(0.0)};
}

std::optional<Ballistics::Prediction> ReloadSelection::predict() const {
    const LoadOption* option = selectedOption();
    const std::optional<Ballistics::Inputs> inputs = modelInputs();
    if (option == nullptr || !option->powder.params || !inputs) return std::nullopt;
    const std::optional<CaseInfo> info = caseInfo();
    return Ballistics::predict(*inputs, *option->powder.params, info ? info->maxPressurePsi : std::nullopt);
}

std::vector<Ballistics::SweepPoint> ReloadSelection::chargeSweep() const {
    const LoadOption* option = selectedOption();
    const std::optional<Ballistics::Inputs> inputs = modelInputs();
    if (option == nullptr || !option->powder.params || !inputs || !option->load.startChargeGr ||
        !option->load.maxChargeGr || !(*option->load.startChargeGr < *option->load.maxChargeGr))
        return {};
    return Ballistics::sweep(*inputs, *option->powder.params, *option->load.startChargeGr, *option->load.maxChargeGr,
                             28);
}

}  // namespace kavrino
