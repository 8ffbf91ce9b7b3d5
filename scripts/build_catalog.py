#!/usr/bin/env python3
"""Rebuild resources/bullets.json and resources/cartridges.json from the source tables.

    python3 scripts/build_catalog.py [SOURCE_DIR] [--out RESOURCES_DIR] [--check]

SOURCE_DIR (default: scripts/sources, the copies kept in the repository) holds
projectiles/projectiles.csv (bullet makers' published figures, MIT licence),
facts/bullets-facts.csv and facts/cartridges-facts.csv. Beside this script, this project's own
tables: bullet_corrections.csv (makers' figures that have changed since the source table was
taken) and factory_loads.csv (the factory loads). The JSON files are committed, so building the
application never runs this script; its output is deterministic (same input, same bytes).

Bullets: rifle bullets only; one record per distinct bullet (bulk and pack-size SKUs of one
product are folded into it); Sierra's velocity-banded G1 figures give the band that starts at
the highest velocity (the muzzle band); a bullet whose coefficient is implausible for its
sectional density or contradicted by an indistinguishable twin, or that has no coefficient or
weight at all, is left out. G7 coefficients and lengths of facts/bullets-facts.csv fill what the
maker's table lacks; bullet_corrections.csv replaces figures.

Factory loads: a load that names the bullet its coefficients come from (bc_bullet) must carry
that bullet's figures, and for a Sierra bullet the G1 of the band that holds the load's muzzle
velocity. Every figure names its source: URLs with the date they were checked, or "unverified".
"""

import argparse
import csv
import datetime
import hashlib
import json
import math
import re
import statistics
import sys
from pathlib import Path

SCRIPT_DIR = Path(__file__).resolve().parent

# Words in a maker's bullet name that mark a blunt nose, whose low BC is genuine.
BLUNT_NOSE = re.compile(r"\b(RN|FN|FP|HP BEE|BEE|Round Nose|Flat Nose|Hornet|30-30|Solid|Banded)\b", re.I)

# Plausible ratio of coefficient to sectional density (lb/in^2). A G1 BC is about SD / i with a
# form factor i from about 0.4 (long boat-tail match bullets) to 2 (round and flat noses); G7
# coefficients run at about half the G1 figure.
G1_PER_SD = (0.5, 3.0)
G7_PER_SD = (0.25, 1.5)
G7_PER_G1 = (0.40, 0.60)
# Two bullets of one maker and product line with the same diameter and weight whose G1 figures
# differ by more than this factor read alike in the list but would solve very differently; when
# neither name marks a blunt nose, the one whose form factor strays from its product line's is a
# data error (the 150 gr .308 TSX listed at G1 0.184 beside its twin at 0.369).
TWIN_FACTOR = 1.6


def warn(message):
    print(f"build_catalog: {message}", file=sys.stderr)


def number(text):
    """A positive finite float, or None."""
    try:
        value = float(text)
    except (TypeError, ValueError):
        return None
    return value if math.isfinite(value) and value > 0 else None


def clean_text(text):
    text = text.replace("®", "").replace("™", "")
    return re.sub(r"\s+", " ", text).strip()


def diameter_text(diameter):
    """0.308 -> '.308', 0.5 -> '.500', 0.3105 -> '.3105'."""
    text = f"{diameter:.4f}".rstrip("0")
    if len(text.split(".")[1]) < 3:
        text = f"{diameter:.3f}"
    return text[1:] if text.startswith("0.") else text


def sku_key(sku):
    return re.sub(r"[^0-9a-z]", "", sku.lower())


def slug(text):
    return re.sub(r"[^0-9a-z]+", "-", text.lower()).strip("-")


def sectional_density(weight, diameter):
    return weight / 7000.0 / (diameter * diameter)


BAND = re.compile(r'(\d*\.\d+)"\s*:\s*\[\s*(\d+|null)\s*,\s*(\d+|null)\s*\]')


def velocity_bands(banded):
    """Sierra's banded G1 text, e.g. {".462": [2600, null], ".447": [2100, 2600], ...}, as
    (bc, low, high) in ft/s, None for null. Read with a pattern, not as JSON: some rows carry
    stray characters or repeat a coefficient as a key."""
    return [(float(bc), None if low == "null" else int(low), None if high == "null" else int(high))
            for bc, low, high in BAND.findall(banded)]


def muzzle_band_bc(bands):
    """The BC of the band without an upper velocity limit."""
    top = [bc for bc, low, high in bands if high is None and low is not None]
    return top[0] if len(top) == 1 else None


def band_bc_at(bands, velocity):
    """The BC of the band that holds a velocity: from its lower limit up to, not including, its
    upper one (so 2800 ft/s falls in ".505": [2800, null], not in ".496": [1800, 2800]). A band
    written upper limit first counts the right way round. None unless exactly one figure holds."""
    found = set()
    for bc, low, high in bands:
        if low is None:
            continue
        lo, hi = (low, math.inf) if high is None else sorted((low, high))
        if lo <= velocity < hi:
            found.add(bc)
    return found.pop() if len(found) == 1 else None


def style_words(maker_name, product):
    """The shape a maker's name gives after the weight ("30 Cal .308 150 gr InterLock RN" -> "RN",
    ".30 Caliber/7.62mm (.308) 150 gr. SBT" -> "SBT"), without the product line's own words."""
    match = re.search(r"\d gr\.?\s+(.*)$", maker_name)
    if not match:
        return ""
    product_words = {w.lower() for w in product.split()}
    words = [w for w in re.sub(r"\([^)]*\)", "", match.group(1)).split()
             if not any(p.startswith(w.lower()) for p in product_words)
             and not re.fullmatch(r"\.\d+", w)]
    return " ".join(words)


def strip_bulk(name):
    name = re.sub(r"\s*\(Bulk[^)]*\)", "", name, flags=re.I)
    return re.sub(r"\s*Bulk Box of [\d,]+", "", name, flags=re.I).strip()


def read_projectiles(path):
    rows = []
    with open(path, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            if row["type"] != "rifle":
                continue
            weight = number(row["weight_gr"])
            diameter = number(row["diameter_in"])
            if weight is None or diameter is None:
                warn(f"no weight or diameter, left out: {row['description']}")
                continue
            g1, bands = number(row["bc_g1"]), []
            if g1 is None and row["bc_fn"]:
                bands = velocity_bands(row["bc_fn"])
                g1 = muzzle_band_bc(bands)
                if g1 is None:
                    warn(f"unreadable velocity bands, G1 left out: {row['description']}")
            rows.append({
                "maker": row["company"],
                "sku": row["sku"].strip(),
                "product": clean_text(row["product_name"]),
                "maker_name": clean_text(strip_bulk(row["name"])),
                "diameter": diameter,
                "weight": weight,
                "g1": g1,
                "g7": number(row["bc_g7"]),
                "bands": bands,
                "length": None,
                "type": row["type"],
            })
    return rows


def fold_pack_sizes(rows):
    """Bulk boxes and pack sizes of one product carry their own SKU but the same bullet: same
    maker, diameter, weight, product line, coefficients and maker's name. Keep one record, under
    the shortest SKU (the product's own; bulk SKUs add a suffix)."""
    groups = {}
    for row in rows:
        key = (row["maker"], row["diameter"], row["weight"], row["product"].lower(),
               row["maker_name"].lower(), row["g1"], row["g7"])
        groups.setdefault(key, []).append(row)
    folded = []
    for members in groups.values():
        keep = min(members, key=lambda r: (len(r["sku"]), r["sku"]))
        folded.append(keep)
    return folded


def implausible(row):
    """The reason a bullet's coefficients cannot be right for its sectional density, or None."""
    sd = sectional_density(row["weight"], row["diameter"])
    g1, g7 = row["g1"], row["g7"]
    if g1 is not None and not G1_PER_SD[0] <= g1 / sd <= G1_PER_SD[1]:
        return f"G1 {g1} for sectional density {sd:.3f}"
    if g7 is not None and not G7_PER_SD[0] <= g7 / sd <= G7_PER_SD[1]:
        return f"G7 {g7} for sectional density {sd:.3f}"
    if g1 is not None and g7 is not None and not G7_PER_G1[0] <= g7 / g1 <= G7_PER_G1[1]:
        return f"G7 {g7} against G1 {g1}"
    return None


def form_factor(row):
    return sectional_density(row["weight"], row["diameter"]) / row["g1"]


def contradicted_twins(rows):
    """ids of the rows that contradict an indistinguishable twin (see TWIN_FACTOR)."""
    lines, twins = {}, {}
    for row in rows:
        if row["g1"] is None:
            continue
        lines.setdefault((row["maker"], row["product"]), []).append(form_factor(row))
        twins.setdefault((row["maker"], row["product"], row["diameter"], row["weight"]), []).append(row)
    wrong = set()
    for (maker, product, _, _), members in twins.items():
        if len(members) < 2 or any(BLUNT_NOSE.search(r["maker_name"]) for r in members):
            continue
        low, high = min(r["g1"] for r in members), max(r["g1"] for r in members)
        if high / low <= TWIN_FACTOR:
            continue
        median = statistics.median(lines[(maker, product)])
        stray = max(members, key=lambda r: abs(math.log(form_factor(r) / median)))
        wrong.add(id(stray))
    return wrong


def read_facts(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.DictReader(f))


def apply_facts(rows, facts):
    """Fill G7 and length from the facts table; a bullet only the facts table knows joins the
    list. Disagreements with the maker's table are reported, the maker's table kept."""
    by_sku = {(r["maker"], sku_key(r["sku"])): r for r in rows}
    for fact in facts:
        weight, diameter = number(fact["weight_gr"]), number(fact["caliber_in"])
        g1, g7, length = number(fact["g1_bc"]), number(fact["g7_bc"]), number(fact["length_in"])
        row = by_sku.get((fact["manufacturer"], sku_key(fact["sku"]))) if fact["sku"] else None
        if row is None:
            product = clean_text(re.sub(r"^\S+ Cal |^\S+mm |\d+(\.\d+)? gr ", "", fact["product"]))
            rows.append({
                "maker": fact["manufacturer"], "sku": fact["sku"], "product": product,
                "maker_name": clean_text(fact["product"]), "diameter": diameter, "weight": weight,
                "g1": g1, "g7": g7, "bands": [], "length": length, "type": "rifle",
            })
            continue
        if row["weight"] != weight or row["diameter"] != diameter:
            warn(f"facts disagree on weight or diameter, ignored: {fact['product']}")
            continue
        if g1 is not None and row["g1"] is not None and abs(g1 - row["g1"]) > 5e-4:
            warn(f"facts G1 {g1} differs from maker's table {row['g1']}: {fact['product']}")
        if row["g1"] is None:
            row["g1"] = g1
        if row["g7"] is None:
            row["g7"] = g7
        if row["length"] is None:
            row["length"] = length


# A figure's source: the URLs it was checked against and the date, then an optional note; or
# "unverified", with an optional note on what is known.
CHECKED = re.compile(r"(?:https?://\S+ )+\(checked (\d{4}-\d{2}-\d{2})\)(?:; .+)?")
UNVERIFIED = re.compile(r"unverified(?:: .+)?")


def source_problem(figure, source, must_be_checked=False):
    """What is wrong with the source given for a figure, or None."""
    if not figure.strip():
        return "a source for a blank figure" if source.strip() else None
    checked = CHECKED.fullmatch(source)
    if checked:
        try:
            datetime.date.fromisoformat(checked.group(1))
        except ValueError:
            return f"no such date: {checked.group(1)}"
        return None
    if UNVERIFIED.fullmatch(source) and not must_be_checked:
        return None
    wanted = '"URL ... (checked YYYY-MM-DD)"' + ("" if must_be_checked else ' or "unverified"')
    return f"source must read {wanted}: {source!r}"


def apply_corrections(rows, path):
    """Figures that replace the source table's, each with the page it was checked against: makers
    revise coefficients (Hornady's 140 gr ELD Match went from .610/.305 to .646/.326), and the
    source table is a copy of 2018. A correction that matches no bullet is an error."""
    by_sku = {(r["maker"], sku_key(r["sku"])): r for r in rows}
    with open(path, newline="", encoding="utf-8") as f:
        for line, fix in enumerate(csv.DictReader(f), start=2):
            if None in fix:
                sys.exit(f"build_catalog: {path.name}:{line}: more fields than columns (quote a text with commas)")
            row = by_sku.get((fix["maker"], sku_key(fix["sku"])))
            if row is None:
                sys.exit(f"build_catalog: {path.name}:{line}: no bullet {fix['maker']} {fix['sku']}")
            problem = source_problem(fix["g1_bc"] + fix["g7_bc"], fix["source"], must_be_checked=True)
            if problem:
                sys.exit(f"build_catalog: {path.name}:{line}: {problem}")
            row["g1"], row["g7"] = number(fix["g1_bc"]), number(fix["g7_bc"])
            row["bands"] = []


def bullet_records(source, corrections_path):
    """The bullet records, and the velocity bands of the bullets whose G1 is banded, by id."""
    rows = fold_pack_sizes(read_projectiles(source / "projectiles" / "projectiles.csv"))
    apply_facts(rows, read_facts(source / "facts" / "bullets-facts.csv"))
    apply_corrections(rows, corrections_path)
    twins = contradicted_twins(rows)
    kept = []
    for row in rows:
        if row["g1"] is None and row["g7"] is None:
            warn(f"no ballistic coefficient, left out: {row['maker']} {row['sku']} {row['maker_name']}")
            continue
        reason = implausible(row)
        if reason is None and id(row) in twins:
            reason = f"G1 {row['g1']} contradicts a bullet of the same line, diameter and weight"
        if reason:
            warn(f"implausible, left out: {row['maker']} {row['sku']} {row['maker_name']}: {reason}")
            continue
        kept.append(row)

    for row in kept:
        style = style_words(row["maker_name"], row["product"])
        row["name"] = " ".join(filter(None, [diameter_text(row["diameter"]), row["product"], style]))
    # The same maker, name and whole-grain weight would read alike in a list: add the SKU.
    seen = {}
    for row in kept:
        seen.setdefault((row["maker"], row["name"], math.trunc(row["weight"])), []).append(row)
    for members in seen.values():
        if len(members) > 1:
            for row in members:
                row["name"] += f" #{row['sku']}"

    records, ids, bands = [], set(), {}
    kept.sort(key=lambda r: (r["maker"], r["diameter"], r["weight"], r["name"]))
    for row in kept:
        if row["sku"]:
            ident = f"{slug(row['maker'])}-{slug(row['sku'])}"
        else:
            identity = f"{row['maker']}|{row['name']}|{row['diameter']}|{row['weight']}"
            ident = f"{slug(row['maker'])}-{hashlib.sha1(identity.encode()).hexdigest()[:10]}"
        if ident in ids:
            sys.exit(f"build_catalog: duplicate bullet id {ident}")
        ids.add(ident)
        if row["bands"]:
            bands[ident] = row["bands"]
        records.append({
            "id": ident,
            "manufacturer": row["maker"],
            "name": row["name"],
            "caliber": row["diameter"],
            "weight": row["weight"],
            "length": row["length"],
            "g1BC": row["g1"],
            "g7BC": row["g7"],
            "cd": None,
            "type": row["type"],
        })
    return records, bands


# The columns of factory_loads.csv that name the source of a figure, and the figure's column.
LOAD_SOURCES = {
    "velocity_source": "muzzle_velocity_fps",
    "barrel_source": "barrel_in",
    "bullet_source": "bullet_weight_gr",
    "g1_source": "g1_bc",
    "g7_source": "g7_bc",
}


def cartridge_records(source, loads_path, bullets, bands):
    """Factory loads of scripts/factory_loads.csv. A load whose BC is taken from a bullet of the
    catalog names it in bc_bullet; its figures must then be that bullet's, the G1 of a banded
    bullet being the band that holds the load's muzzle velocity (the bullet record carries the
    top band, which overstates a slower load)."""
    by_id = {b["id"]: b for b in bullets}
    with open(source / "facts" / "cartridges-facts.csv", newline="", encoding="utf-8") as f:
        cartridges = {row["cartridge"]: number(row["bullet_diameter_in"]) for row in csv.DictReader(f)}
    records, ids = [], set()
    with open(loads_path, newline="", encoding="utf-8") as f:
        for line, row in enumerate(csv.DictReader(f), start=2):
            if None in row:
                sys.exit(f"build_catalog: {loads_path.name}:{line}: more fields than columns (quote a text with commas)")
            cartridge = row["cartridge"]
            if cartridge not in cartridges:
                sys.exit(f"build_catalog: {loads_path.name}:{line}: unknown cartridge {cartridge}")
            weight, velocity = number(row["bullet_weight_gr"]), number(row["muzzle_velocity_fps"])
            if weight is None or velocity is None:
                sys.exit(f"build_catalog: {loads_path.name}:{line}: bullet weight and velocity are required")
            # "6.5 Creedmoor 140gr ELD Match (Match)": the cartridge as the maker prints it, the
            # bullet, then the maker's product line, which tells apart two makers' like loads.
            name = f"{row['cartridge_label']} {row['bullet_weight_gr']}gr {row['bullet']}"
            name += f" ({row['maker']} {row['line']})" if row["line"] else f" ({row['maker']})"
            ident = slug(f"{row['maker']} {row['cartridge_label']} {row['bullet_weight_gr']} {row['bullet']} {row['line']}")
            if ident in ids:
                sys.exit(f"build_catalog: {loads_path.name}:{line}: duplicate id {ident}")
            ids.add(ident)
            for column, figure in LOAD_SOURCES.items():
                problem = source_problem(row[figure], row[column])
                if problem:
                    sys.exit(f"build_catalog: {loads_path.name}:{line}: {column}: {problem}")
            g1, g7 = number(row["g1_bc"]), number(row["g7_bc"])
            if row["bc_bullet"]:
                bullet = by_id.get(row["bc_bullet"])
                if bullet is None:
                    sys.exit(f"build_catalog: {loads_path.name}:{line}: no bullet {row['bc_bullet']}")
                if row["bc_bullet"] in bands:
                    bullet_g1 = band_bc_at(bands[row["bc_bullet"]], velocity)
                else:
                    bullet_g1 = bullet["g1BC"]
                if (bullet_g1, bullet["g7BC"]) != (g1, g7) \
                        or bullet["weight"] != weight or bullet["caliber"] != cartridges[cartridge]:
                    sys.exit(f"build_catalog: {loads_path.name}:{line}: does not match bullet {row['bc_bullet']}"
                             f" (G1 {bullet_g1} at {velocity:g} ft/s, G7 {bullet['g7BC']}, {bullet['weight']:g} gr)")
            records.append({
                "id": ident,
                "name": name,
                "manufacturer": row["maker"],
                "caliber": cartridges[cartridge],
                "bulletWeight": weight,
                "muzzleVelocity": velocity,
                "barrelLength": number(row["barrel_in"]),
                "g1BC": g1,
                "g7BC": g7,
            })
    return records


def json_text(key, records):
    # Absent optionals are written as null: the catalog reads null and absent alike, and the
    # keys stay visible to anyone reading the file.
    return json.dumps({key: records}, indent=1, ensure_ascii=False) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source", type=Path, nargs="?", default=SCRIPT_DIR / "sources",
                        help="folder with projectiles/ and facts/ (default: %(default)s)")
    parser.add_argument("--out", type=Path, default=SCRIPT_DIR.parent / "resources")
    parser.add_argument("--loads", type=Path, default=SCRIPT_DIR / "factory_loads.csv")
    parser.add_argument("--corrections", type=Path, default=SCRIPT_DIR / "bullet_corrections.csv")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; fail when the files in --out differ from a rebuild")
    args = parser.parse_args()
    bullets, bands = bullet_records(args.source, args.corrections)
    cartridges = cartridge_records(args.source, args.loads, bullets, bands)
    outputs = {"bullets.json": json_text("bullets", bullets),
               "cartridges.json": json_text("cartridges", cartridges)}
    stale = []
    for name, text in outputs.items():
        path = args.out / name
        if args.check:
            if not path.exists() or path.read_text(encoding="utf-8") != text:
                stale.append(name)
        else:
            path.write_text(text, encoding="utf-8")
    print(f"build_catalog: {len(bullets)} bullets, {len(cartridges)} factory loads", file=sys.stderr)
    if stale:
        sys.exit(f"build_catalog: {', '.join(stale)} differ from a rebuild of the source tables")


if __name__ == "__main__":
    main()
