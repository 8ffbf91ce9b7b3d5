#include "reload/reload_bundles.h"

#include "core/json_fields.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kavrino {

namespace {

using nlohmann::json;

// Thrown only inside this file; each decode function turns it into "no value".
struct DecodeError {};

// The shared strict readers, as values: a field that breaks the rules breaks the file.
template <typename T>
T as(const json& value) {
    T out{};
    if (!json_fields::read(value, out)) throw DecodeError{};
    return out;
}

template <typename T>
T required(const json& record, const char* key) {
    T out{};
    if (!json_fields::read(record, key, out)) throw DecodeError{};
    return out;
}

template <typename T>
std::optional<T> optional(const json& record, const char* key) {
    std::optional<T> out;
    if (!json_fields::readOptional(record, key, out)) throw DecodeError{};
    return out;
}

const json* member(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) return nullptr;
    return &*it;
}

const json& requiredMember(const json& object, const char* key) {
    const json* value = member(object, key);
    if (!value) throw DecodeError{};
    return *value;
}

const json& asObject(const json& value) {
    if (!value.is_object()) throw DecodeError{};
    return value;
}

const json& asArray(const json& value) {
    if (!value.is_array()) throw DecodeError{};
    return value;
}

// The lenient keys of the parameters: anything but a number counts as missing.
std::optional<double> lenientDouble(const json& o, const char* key) {
    const json* v = member(o, key);
    if (!v || !v->is_number()) return std::nullopt;
    return v->get<double>();
}

Load decodeLoad(const json& value) {
    const json& o = asObject(value);
    Load load;
    load.id = required<QString>(o, "id");
    load.cartridge = required<QString>(o, "c");
    load.bulletWeightGr = optional<double>(o, "bw");
    load.bulletDiameterIn = optional<double>(o, "bd");
    load.powderManufacturer = optional<QString>(o, "pm");
    load.powder = required<QString>(o, "p");
    load.startChargeGr = optional<double>(o, "sc");
    load.maxChargeGr = optional<double>(o, "xc");
    load.startVelocityFps = optional<double>(o, "sv");
    load.maxVelocityFps = optional<double>(o, "xv");
    load.startPressure = optional<double>(o, "sp");
    load.maxPressure = optional<double>(o, "xp");
    load.pressureUnit = optional<QString>(o, "pu");
    load.coalIn = optional<double>(o, "co");
    load.caseName = optional<QString>(o, "ca");
    load.primer = optional<QString>(o, "pr");
    load.barrelLengthIn = optional<double>(o, "bl");
    load.twist = optional<QString>(o, "tw");
    load.sourceIndex = required<std::int64_t>(o, "s");
    return load;
}

CaseInfo decodeCase(const json& value) {
    const json& o = asObject(value);
    CaseInfo info;
    info.id = required<QString>(o, "id");
    info.name = required<QString>(o, "name");
    info.barrelLengthIn = optional<double>(o, "barrelLength_in");
    info.twist = optional<QString>(o, "twist");
    info.trimLengthIn = optional<double>(o, "trimLength_in");
    info.bulletWeightMinGr = optional<double>(o, "bulletWeightMin_gr");
    info.bulletWeightMaxGr = optional<double>(o, "bulletWeightMax_gr");
    info.powderCount = optional<std::int64_t>(o, "powderCount");
    info.loadCount = optional<std::int64_t>(o, "loadCount");
    info.observedMaxPressurePsi = optional<double>(o, "observedMaxPressure_psi");
    info.caseWaterCapacityGrH2o = optional<double>(o, "caseWaterCapacity_gr_h2o");
    info.maxPressurePsi = optional<double>(o, "maxPressure_psi");
    info.pressureStandard = optional<QString>(o, "pressureStandard");
    return info;
}

PowderParams decodeParams(const json& value) {
    const json& o = asObject(value);
    PowderParams params;
    params.kv = required<double>(o, "Kv");
    params.c0Gr = lenientDouble(o, "C0_gr").value_or(0.0);
    params.kp = lenientDouble(o, "Kp");
    params.b = lenientDouble(o, "b");
    params.gamma = lenientDouble(o, "gamma").value_or(1.24);
    return params;
}

Powder decodePowder(const json& value) {
    const json& o = asObject(value);
    Powder powder;
    powder.id = required<QString>(o, "id");
    powder.manufacturer = optional<QString>(o, "manufacturer");
    powder.name = required<QString>(o, "name");
    powder.burnRateRank = optional<std::int64_t>(o, "burnRateRank");
    powder.type = optional<QString>(o, "type");
    powder.hasLoadData = required<bool>(o, "hasLoadData");
    powder.loadCount = required<std::int64_t>(o, "loadCount");
    if (const json* params = member(o, "params")) powder.params = decodeParams(*params);
    return powder;
}

// Which parts of a file the reader keeps while it reads. Everything else is dropped as soon as
// it is read, so memory follows what the records hold rather than everything the text holds:
//   a leaf keeps a number, string, boolean or null; an array or object found there is kept
//   empty (what it held can never make a valid record, and its kind is all the rules look at);
//   an object keeps the listed keys only (other keys are ignored anyway);
//   an array hands each finished element to its sink instead of keeping it.
struct Shape;

// Receives the elements of one array, one at a time, as each is finished.
class ElementSink {
public:
    // The array begins (again, when its key is repeated: the last one counts).
    virtual void restart() = 0;
    virtual void take(json& element) = 0;

protected:
    ~ElementSink() = default;
};

struct Shape {
    enum class Kind { Leaf, Object, Array };
    Kind kind = Kind::Leaf;
    std::map<std::string, const Shape*, std::less<>> members;  // Object
    const Shape* element = nullptr;                            // Array
    ElementSink* sink = nullptr;                               // Array
};

const Shape kLeaf{};

Shape objectOf(std::initializer_list<const char*> keys, std::map<std::string, const Shape*, std::less<>> nested = {}) {
    Shape shape{Shape::Kind::Object, std::move(nested), nullptr, nullptr};
    for (const char* key : keys) shape.members.emplace(key, &kLeaf);
    return shape;
}

Shape arrayOf(const Shape& element, ElementSink& sink) { return {Shape::Kind::Array, {}, &element, &sink}; }

// Decodes each element as it arrives; one that breaks a rule fails the list.
template <typename Record>
class RecordSink final : public ElementSink {
public:
    explicit RecordSink(Record (*decode)(const json&)) : m_decode(decode) {}
    void restart() override {
        m_records.clear();
        m_failed = false;
    }
    void take(json& element) override {
        if (m_failed) return;
        try {
            m_records.push_back(m_decode(element));
        } catch (const DecodeError&) {
            m_failed = true;
        } catch (const json::exception&) {
            m_failed = true;
        }
    }
    // The records of the array; throws when one of them broke a rule.
    std::vector<Record> records() {
        if (m_failed) throw DecodeError{};
        return std::move(m_records);
    }

private:
    Record (*m_decode)(const json&);
    std::vector<Record> m_records;
    bool m_failed = false;
};

// A JSON reader (nlohmann's SAX interface) that builds the document of `shape` only.
class ShapedReader {
public:
    explicit ShapedReader(const Shape& shape) : m_rootShape(shape) {}
    json& document() { return m_root; }

    bool null() { return leaf(nullptr); }
    bool boolean(bool value) { return leaf(value); }
    bool number_integer(json::number_integer_t value) { return leaf(value); }
    bool number_unsigned(json::number_unsigned_t value) { return leaf(value); }
    bool number_float(json::number_float_t value, const std::string&) { return leaf(value); }
    bool string(std::string& value) { return leaf(std::move(value)); }
    bool binary(json::binary_t&) { return leaf(nullptr); }  // not produced by JSON text
    bool start_object(std::size_t) { return open(json::value_t::object); }
    bool start_array(std::size_t) { return open(json::value_t::array); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(std::string& name) {
        if (m_skipping > 0) return true;
        const Frame& frame = m_frames.back();
        m_member = nullptr;
        if (frame.shape != nullptr && frame.shape->kind == Shape::Kind::Object) {
            const auto it = frame.shape->members.find(name);
            if (it != frame.shape->members.end()) {
                m_member = it->second;
                m_memberName = std::move(name);
            }
        }
        return true;
    }
    template <typename Exception>
    bool parse_error(std::size_t, const std::string&, const Exception&) {
        return false;
    }

private:
    // A container being read: where it is stored, the shape of what it keeps (none: kept
    // empty), and whether it is an element handed to a sink when finished.
    struct Frame {
        json* container;
        const Shape* shape;
        ElementSink* sinkOfElement;
    };
    // Where the next value goes; no slot when it is dropped.
    struct Target {
        json* slot = nullptr;
        const Shape* shape = nullptr;
        ElementSink* sinkOfElement = nullptr;
    };

    Target target() {
        if (m_frames.empty()) return {&m_root, &m_rootShape, nullptr};
        const Frame& frame = m_frames.back();
        if (frame.shape == nullptr) return {};
        if (frame.shape->kind == Shape::Kind::Object) {
            if (m_member == nullptr) return {};
            const Shape* shape = m_member;
            m_member = nullptr;
            // Assigning over an earlier value of a repeated key: the last one counts.
            return {&(*frame.container)[m_memberName], shape, nullptr};
        }
        if (frame.shape->sink != nullptr) {
            m_element = json();
            return {&m_element, frame.shape->element, frame.shape->sink};
        }
        frame.container->push_back(json());
        return {&frame.container->back(), frame.shape->element, nullptr};
    }

    template <typename Value>
    bool leaf(Value&& value) {
        if (m_skipping > 0) return true;
        const Target at = target();
        if (at.slot == nullptr) return true;
        *at.slot = json(std::forward<Value>(value));
        if (at.sinkOfElement != nullptr) at.sinkOfElement->take(*at.slot);
        return true;
    }

    bool open(json::value_t kind) {
        if (m_skipping > 0) {
            ++m_skipping;
            return true;
        }
        const Target at = target();
        if (at.slot == nullptr) {
            m_skipping = 1;
            return true;
        }
        *at.slot = json(kind);
        const bool keepsContent =
            at.shape != nullptr &&
            ((kind == json::value_t::object && at.shape->kind == Shape::Kind::Object) ||
             (kind == json::value_t::array && at.shape->kind == Shape::Kind::Array));
        if (keepsContent && at.shape->sink != nullptr) at.shape->sink->restart();
        m_frames.push_back({at.slot, keepsContent ? at.shape : nullptr, at.sinkOfElement});
        return true;
    }

    bool close() {
        if (m_skipping > 0) {
            --m_skipping;
            return true;
        }
        const Frame frame = m_frames.back();
        m_frames.pop_back();
        if (frame.sinkOfElement != nullptr) frame.sinkOfElement->take(*frame.container);
        return true;
    }

    const Shape& m_rootShape;
    json m_root;
    json m_element;  // the element of a sink's array being read
    std::vector<Frame> m_frames;
    std::size_t m_skipping = 0;  // depth inside a dropped array or object
    const Shape* m_member = nullptr;
    std::string m_memberName;
};

template <typename Bundle, typename Body>
std::optional<Bundle> decodeFile(const QByteArray& text, const Shape& shape, Body&& body) {
    try {
        ShapedReader reader(shape);
        if (!json::sax_parse(text.constBegin(), text.constEnd(), &reader)) return std::nullopt;
        Bundle bundle;
        body(asObject(reader.document()), bundle);
        return bundle;
    } catch (const DecodeError&) {
        return std::nullopt;
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<LoadBundle> decodeLoadBundle(const QByteArray& text) {
    RecordSink<QString> sources(+[](const json& value) { return as<QString>(value); });
    RecordSink<Load> loads(decodeLoad);
    const Shape load = objectOf({"id", "c", "bw", "bd", "pm", "p", "sc", "xc", "sv", "xv", "sp", "xp", "pu", "co",
                                 "ca", "pr", "bl", "tw", "s"});
    const Shape sourceList = arrayOf(kLeaf, sources);
    const Shape loadList = arrayOf(load, loads);
    const Shape file = objectOf({"version", "loadCount"}, {{"sources", &sourceList}, {"loads", &loadList}});
    return decodeFile<LoadBundle>(text, file, [&](const json& o, LoadBundle& bundle) {
        bundle.version = optional<QString>(o, "version");
        asArray(requiredMember(o, "sources"));
        for (QString& source : sources.records()) bundle.sources << std::move(source);
        bundle.loadCount = required<std::int64_t>(o, "loadCount");
        asArray(requiredMember(o, "loads"));
        bundle.loads = loads.records();
    });
}

std::optional<CaseBundle> decodeCaseBundle(const QByteArray& text) {
    RecordSink<CaseInfo> cases(decodeCase);
    const Shape info = objectOf({"id", "name", "barrelLength_in", "twist", "trimLength_in", "bulletWeightMin_gr",
                                 "bulletWeightMax_gr", "powderCount", "loadCount", "observedMaxPressure_psi",
                                 "caseWaterCapacity_gr_h2o", "maxPressure_psi", "pressureStandard"});
    const Shape caseList = arrayOf(info, cases);
    const Shape file = objectOf({"version", "count"}, {{"cases", &caseList}});
    return decodeFile<CaseBundle>(text, file, [&](const json& o, CaseBundle& bundle) {
        bundle.version = optional<QString>(o, "version");
        bundle.count = required<std::int64_t>(o, "count");
        asArray(requiredMember(o, "cases"));
        bundle.cases = cases.records();
    });
}

std::optional<PowderBundle> decodePowderBundle(const QByteArray& text) {
    RecordSink<Powder> powders(decodePowder);
    const Shape params = objectOf({"Kv", "C0_gr", "Kp", "b", "gamma"});
    const Shape powder =
        objectOf({"id", "manufacturer", "name", "burnRateRank", "type", "hasLoadData", "loadCount"}, {{"params", &params}});
    const Shape powderList = arrayOf(powder, powders);
    const Shape file = objectOf({"version", "count"}, {{"powders", &powderList}});
    return decodeFile<PowderBundle>(text, file, [&](const json& o, PowderBundle& bundle) {
        bundle.version = optional<QString>(o, "version");
        bundle.count = required<std::int64_t>(o, "count");
        asArray(requiredMember(o, "powders"));
        bundle.powders = powders.records();
    });
}

}  // namespace kavrino
