#include "reload/reload_catalog.h"

#include "core/background_job.h"
#include "core/character_joins.h"
#include "reload/reload_bundles.h"

#include <QLoggingCategory>
#include <QSet>

#include <algorithm>
#include <iterator>
#include <limits>

namespace kavrino {

namespace {

// "kavrino.reload": a reload data file that could not be read (the pane says only that loading failed).
Q_LOGGING_CATEGORY(lcReload, "kavrino.reload", QtWarningMsg)

bool isAlphanumeric(char32_t codePoint) {
    switch (QChar::category(codePoint)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return true;
    default:
        return false;
    }
}

// The code point of `text` at `at` and the number of code units it takes (a lone surrogate
// counts as itself; normalized keys hold none).
std::pair<char32_t, qsizetype> codePointAt(const QString& text, qsizetype at) {
    const QChar unit = text.at(at);
    if (unit.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(unit, text.at(at + 1)), 2};
    return {unit.unicode(), 1};
}

// Where the user-perceived character that begins at `at` ends: the offset of the next one, or
// the length of the text. Walks only that character, so finding a few characters at the front
// of a long text costs nothing in proportion to its length.
qsizetype characterEnd(const QString& text, qsizetype at) {
    auto [previous, length] = codePointAt(text, at);
    qsizetype next = at + length;
    while (next < text.size()) {
        const auto [codePoint, units] = codePointAt(text, next);
        if (!characters::continuesCharacter(previous, codePoint)) break;
        previous = codePoint;
        next += units;
    }
    return next;
}

// Whether a character boundary of `text` lies at `at` (0 < at < size).
bool isCharacterBoundary(const QString& text, qsizetype at) {
    qsizetype start = at - 1;
    if (start > 0 && text.at(start).isLowSurrogate() && text.at(start - 1).isHighSurrogate()) --start;
    return !characters::continuesCharacter(codePointAt(text, start).first, codePointAt(text, at).first);
}

bool startsWithNumber(const QString& text, qsizetype at) {
    const auto category = QChar::category(codePointAt(text, at).first);
    return category == QChar::Number_DecimalDigit || category == QChar::Number_Letter ||
           category == QChar::Number_Other;
}

// Plain string order: Unicode scalar values of the canonically composed text.
std::vector<char32_t> sortKey(const QString& text) {
    const QList<uint> scalars = text.normalized(QString::NormalizationForm_C).toUcs4();
    return {scalars.begin(), scalars.end()};
}

std::vector<CartridgeSummary> summarize(const std::vector<Load>& loads, const QHash<QString, CaseInfo>& cases) {
    struct Group {
        CartridgeSummary summary;
        QSet<QString> powderNames;
    };
    std::vector<Group> groups;
    QHash<QString, std::size_t> groupOf;  // cartridge text → index into groups, first appearance order
    for (const Load& load : loads) {
        auto it = groupOf.find(load.cartridge);
        if (it == groupOf.end()) {
            it = groupOf.insert(load.cartridge, groups.size());
            groups.push_back({CartridgeSummary{load.cartridge, 0, 0, std::nullopt}, {}});
        }
        Group& group = groups[*it];
        ++group.summary.loadCount;
        group.powderNames.insert(load.powder);
    }

    std::vector<std::pair<std::vector<char32_t>, CartridgeSummary>> keyed;
    keyed.reserve(groups.size());
    for (Group& group : groups) {
        group.summary.powderCount = static_cast<int>(group.powderNames.size());
        const auto info = cases.constFind(ReloadCatalog::normalizedKey(group.summary.name));
        if (info != cases.constEnd()) group.summary.info = *info;
        keyed.emplace_back(sortKey(group.summary.name), std::move(group.summary));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    std::vector<CartridgeSummary> summaries;
    summaries.reserve(keyed.size());
    for (auto& entry : keyed) summaries.push_back(std::move(entry.second));
    return summaries;
}

}  // namespace

std::optional<ReloadData> buildReloadData(const ResourceLookup& files) {
    auto decode = [&files](const char* name, auto decoder) -> decltype(decoder(QByteArray())) {
        const std::optional<QByteArray> bytes = files.read(QString::fromLatin1(name), kMaxReloadFileBytes);
        auto decoded = bytes ? decoder(*bytes) : std::nullopt;
        if (!decoded) qCWarning(lcReload) << name << "in" << files.folder() << (bytes ? "is not valid reload data" : "cannot be read");
        return decoded;
    };
    std::optional<LoadBundle> loads = decode("app_loads.json", decodeLoadBundle);
    std::optional<CaseBundle> cases = decode("app_cases.json", decodeCaseBundle);
    std::optional<PowderBundle> powders = decode("app_powders.json", decodePowderBundle);
    if (!loads || !cases || !powders) return std::nullopt;

    ReloadData data;
    data.loads = std::move(loads->loads);
    for (std::size_t i = 0; i < data.loads.size(); ++i) data.loads[i].id = QString::number(i);
    data.sources = std::move(loads->sources);

    for (const CaseInfo& info : cases->cases) data.cases.insert(ReloadCatalog::normalizedKey(info.name), info);

    data.powders = std::move(powders->powders);
    std::stable_sort(data.powders.begin(), data.powders.end(), [](const Powder& a, const Powder& b) {
        constexpr auto unranked = std::numeric_limits<std::int64_t>::max();
        return a.burnRateRank.value_or(unranked) < b.burnRateRank.value_or(unranked);
    });
    for (std::size_t i = 0; i < data.powders.size(); ++i)
        data.powders[i].id += QLatin1Char('#') + QString::number(i);

    data.cartridges = summarize(data.loads, data.cases);
    data.powderKeys.reserve(data.powders.size());
    for (const Powder& powder : data.powders) data.powderKeys.push_back(ReloadCatalog::powderKey(powder.manufacturer, powder.name));
    return data;
}

ReloadCatalog::ReloadCatalog(ResourceLookup files, QObject* parent)
    : ReloadCatalog(std::move(files), &buildReloadData, parent) {}

ReloadCatalog::ReloadCatalog(ResourceLookup files, ReloadDataBuilder build, QObject* parent)
    : QObject(parent), m_files(std::move(files)), m_build(build) {}

void ReloadCatalog::loadIfNeeded() {
    if (m_loaded || m_loading) return;
    m_loading = true;
    if (m_loadFailed) {
        m_loadFailed = false;
        emit changed();
    }
    // Delivered on the catalog's thread, and dropped if the catalog is gone; the worker holds
    // only its own copy of the lookup. The result is moved: tens of thousands of loads are not
    // duplicated on this thread.
    // A load that threw fails like one that found a file broken.
    runBackgroundJob(
        this, [files = m_files, build = m_build] { return build(files); },
        [this](std::optional<std::optional<ReloadData>> outcome) {
            m_loading = false;
            if (!outcome) qCWarning(lcReload) << "loading the reload data in" << m_files.folder() << "threw";
            publish(outcome ? std::move(*outcome) : std::nullopt);
        });
}

void ReloadCatalog::publish(std::optional<ReloadData> data) {
    if (!data) {
        m_loadFailed = true;
    } else {
        m_data = std::move(*data);
        m_loaded = true;
    }
    emit changed();
}

QString ReloadCatalog::normalizedKey(const QString& text) {
    QString key;
    const QString lower = text.toLower();
    key.reserve(lower.size());
    for (const char32_t codePoint : lower.toUcs4()) {
        if (!isAlphanumeric(codePoint)) continue;
        if (QChar::requiresSurrogates(codePoint)) {
            key.append(QChar(QChar::highSurrogate(codePoint)));
            key.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            key.append(QChar(char16_t(codePoint)));
        }
    }
    return key;
}

QString ReloadCatalog::powderKey(const std::optional<QString>& manufacturer, const std::optional<QString>& name) {
    const QString m = normalizedKey(manufacturer.value_or(QString()));
    QString n = normalizedKey(name.value_or(QString()));
    if (!m.isEmpty()) {
        // The name begins with the manufacturer's whole key, character for character: the text
        // matches and the name's character boundary falls where the manufacturer's key ends.
        if (n.startsWith(m) && (n.size() == m.size() || isCharacterBoundary(n, m.size()))) {
            n.remove(0, m.size());
        } else if (!n.isEmpty()) {
            // Or its first character is the manufacturer's initial and a number follows.
            const qsizetype first = characterEnd(n, 0);
            if (first < n.size() && QStringView(n).left(first) == QStringView(m).left(characterEnd(m, 0)) &&
                startsWithNumber(n, first)) {
                n.remove(0, first);
            }
        }
    }
    return m + QLatin1Char('|') + n;
}

std::optional<CaseInfo> ReloadCatalog::caseInfo(const std::optional<QString>& cartridge) const {
    const auto it = m_data.cases.constFind(normalizedKey(cartridge.value_or(QString())));
    if (it == m_data.cases.constEnd()) return std::nullopt;
    return *it;
}

std::vector<Load> ReloadCatalog::loadsForCartridge(const QString& cartridge) const {
    std::vector<Load> result;
    for (const Load& load : m_data.loads)
        if (load.cartridge == cartridge) result.push_back(load);
    return result;
}

std::optional<Powder> ReloadCatalog::powder(const Load& load) const {
    const QString key = powderKey(load.powderManufacturer, load.powder);
    for (std::size_t i = 0; i < m_data.powderKeys.size(); ++i)
        if (m_data.powderKeys[i] == key) return m_data.powders[i];
    return std::nullopt;
}

}  // namespace kavrino
