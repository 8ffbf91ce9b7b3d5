#include "reload/reload_catalog.h"

#include "reload/reload_bundles.h"

#include <QFutureWatcher>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <iterator>
#include <limits>

namespace kavrino {

namespace {

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

// Whether `next` continues the user-perceived character that `previous` belongs to: marks and
// the other extending code points join the character before them, a prepended sign joins the
// one after it, and Hangul jamo join into syllables (the extended grapheme cluster rules that
// can apply to a normalized key, which holds only letters, marks and numbers). Decided per code
// point, so a character outside the Basic Multilingual Plane is never cut in two.
bool continuesCharacter(char32_t previous, char32_t next) {
    switch (QChar::category(next)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return true;
    case QChar::Mark_SpacingCombining: {
        // Spacing marks of Myanmar, Tai Tham, Tai Viet and Ahom that stand as characters of their own.
        static constexpr char32_t standalone[][2] = {
            {0x102B, 0x102C}, {0x1038, 0x1038}, {0x1062, 0x1064}, {0x1067, 0x106D}, {0x1083, 0x1083},
            {0x1087, 0x108C}, {0x108F, 0x108F}, {0x109A, 0x109C}, {0x1A61, 0x1A61}, {0x1A63, 0x1A64},
            {0xAA7B, 0xAA7B}, {0xAA7D, 0xAA7D}, {0x11720, 0x11721}};
        if (std::none_of(std::begin(standalone), std::end(standalone),
                         [next](const auto& range) { return next >= range[0] && next <= range[1]; }))
            return true;
        break;
    }
    default:
        break;
    }
    if (next == 0x0E33 || next == 0x0EB3 || next == 0xFF9E || next == 0xFF9F) return true;
    static constexpr char32_t prepended[] = {0x0D4E, 0x111C2, 0x111C3, 0x1193F, 0x11941, 0x11A84, 0x11A85,
                                             0x11A86, 0x11A87, 0x11A88, 0x11A89, 0x11D46};
    if (std::find(std::begin(prepended), std::end(prepended), previous) != std::end(prepended)) return true;

    enum class Jamo { None, Leading, Vowel, Trailing, SyllableLV, SyllableLVT };
    const auto jamo = [](char32_t c) {
        if ((c >= 0x1100 && c <= 0x115F) || (c >= 0xA960 && c <= 0xA97C)) return Jamo::Leading;
        if ((c >= 0x1160 && c <= 0x11A7) || (c >= 0xD7B0 && c <= 0xD7C6)) return Jamo::Vowel;
        if ((c >= 0x11A8 && c <= 0x11FF) || (c >= 0xD7CB && c <= 0xD7FB)) return Jamo::Trailing;
        if (c >= 0xAC00 && c <= 0xD7A3) return (c - 0xAC00) % 28 == 0 ? Jamo::SyllableLV : Jamo::SyllableLVT;
        return Jamo::None;
    };
    const Jamo p = jamo(previous);
    const Jamo n = jamo(next);
    switch (p) {
    case Jamo::Leading:
        return n != Jamo::None && n != Jamo::Trailing;
    case Jamo::Vowel:
    case Jamo::SyllableLV:
        return n == Jamo::Vowel || n == Jamo::Trailing;
    case Jamo::Trailing:
    case Jamo::SyllableLVT:
        return n == Jamo::Trailing;
    case Jamo::None:
        return false;
    }
    return false;
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
        if (!continuesCharacter(previous, codePoint)) break;
        previous = codePoint;
        next += units;
    }
    return next;
}

// Whether a character boundary of `text` lies at `at` (0 < at < size).
bool isCharacterBoundary(const QString& text, qsizetype at) {
    qsizetype start = at - 1;
    if (start > 0 && text.at(start).isLowSurrogate() && text.at(start - 1).isHighSurrogate()) --start;
    return !continuesCharacter(codePointAt(text, start).first, codePointAt(text, at).first);
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
        if (!bytes) return std::nullopt;
        return decoder(*bytes);
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

ReloadCatalog& ReloadCatalog::shared() {
    static ReloadCatalog* instance = new ReloadCatalog();  // lives as long as the process
    return *instance;
}

ReloadCatalog::ReloadCatalog(ResourceLookup files, QObject* parent) : QObject(parent), m_files(std::move(files)) {}

void ReloadCatalog::loadIfNeeded() {
    if (m_loaded) return;
    if (m_loadFailed) {
        m_loadFailed = false;
        emit changed();
    }
    // The watcher belongs to the catalog, so the result is delivered on the catalog's thread and
    // dropped if the catalog is gone; the worker holds only its own copy of the lookup.
    auto* watcher = new QFutureWatcher<std::optional<ReloadData>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        // Taken, not copied: tens of thousands of loads are not duplicated on this thread.
        publish(watcher->future().takeResult());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([files = m_files] { return buildReloadData(files); }));
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
