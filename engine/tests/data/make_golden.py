#!/usr/bin/env python3
"""Writes golden_replies.txt, each request and its expected reply, from a second, independent
implementation of the solve written in Python (same IEEE doubles and the same C maths library),
so the engine's replies are checked against code that shares nothing with it.

Run: python3 make_golden.py > golden_replies.txt  (two lines per case: request, then reply)
"""
import json
import math

DEFAULTS = dict(muzzleVelocity=2650.0, ballisticCoefficient=0.462, dragModel="G1", customCurve=None,
                bcBands=[], bulletWeight=168.0, sightHeight=1.8, zeroRange=100.0, maxRange=1000.0,
                rangeStep=100.0, temperature=59.0, pressure=29.92, altitude=0.0, humidity=50.0,
                windSpeed=0.0, windDirection=90.0, shootingAngle=0.0, includeSpinDrift=False,
                includeCoriolis=False, includeAeroJump=False, twistRate=10.0, bulletDiameter=0.308,
                bulletLength=1.24, latitude=45.0, targetAzimuth=0.0, mvTempSensitivity=0.0,
                mvReferenceTemp=59.0)

G1 = [(0.0, 0.2629), (0.05, 0.2558), (0.1, 0.2487), (0.15, 0.2413), (0.2, 0.2344), (0.25, 0.2278),
      (0.3, 0.2214), (0.35, 0.2155), (0.4, 0.2104), (0.45, 0.2061), (0.5, 0.2032), (0.55, 0.202),
      (0.6, 0.2034), (0.7, 0.2165), (0.725, 0.223), (0.75, 0.2313), (0.775, 0.2417), (0.8, 0.2546),
      (0.825, 0.2706), (0.85, 0.2901), (0.875, 0.3136), (0.9, 0.3415), (0.925, 0.3734), (0.95, 0.4084),
      (0.975, 0.4448), (1.0, 0.4805), (1.025, 0.5136), (1.05, 0.5427), (1.075, 0.5677), (1.1, 0.5883),
      (1.125, 0.6053), (1.15, 0.6191), (1.2, 0.6393), (1.25, 0.6518), (1.3, 0.6589), (1.35, 0.6621),
      (1.4, 0.6625), (1.45, 0.6607), (1.5, 0.6573), (1.55, 0.6528), (1.6, 0.6474), (1.65, 0.6413),
      (1.7, 0.6347), (1.75, 0.628), (1.8, 0.621), (1.85, 0.6141), (1.9, 0.6072), (1.95, 0.6003),
      (2.0, 0.5934), (2.05, 0.5867), (2.1, 0.5804), (2.15, 0.5743), (2.2, 0.5685), (2.25, 0.563),
      (2.3, 0.5577), (2.35, 0.5527), (2.4, 0.5481), (2.45, 0.5438), (2.5, 0.5397), (2.6, 0.5325),
      (2.7, 0.5264), (2.8, 0.5211), (2.9, 0.5168), (3.0, 0.5133), (3.1, 0.5105), (3.2, 0.5084),
      (3.3, 0.5067), (3.4, 0.5054), (3.5, 0.504), (3.6, 0.503), (3.7, 0.5022), (3.8, 0.5016),
      (3.9, 0.501), (4.0, 0.5006), (4.2, 0.4998), (4.4, 0.4995), (4.6, 0.4992), (4.8, 0.499),
      (5.0, 0.4988)]
G7 = [(0.0, 0.1198), (0.05, 0.1197), (0.1, 0.1196), (0.15, 0.1194), (0.2, 0.1193), (0.25, 0.1194),
      (0.3, 0.1194), (0.35, 0.1194), (0.4, 0.1193), (0.45, 0.1193), (0.5, 0.1194), (0.55, 0.1193),
      (0.6, 0.1194), (0.65, 0.1197), (0.7, 0.1202), (0.725, 0.1207), (0.75, 0.1215), (0.775, 0.1226),
      (0.8, 0.1242), (0.825, 0.1266), (0.85, 0.1306), (0.875, 0.1368), (0.9, 0.1464), (0.925, 0.166),
      (0.95, 0.2054), (0.975, 0.2993), (1.0, 0.3803), (1.025, 0.4015), (1.05, 0.4043), (1.075, 0.4034),
      (1.1, 0.4014), (1.125, 0.3987), (1.15, 0.3955), (1.2, 0.3884), (1.25, 0.381), (1.3, 0.3732),
      (1.35, 0.3657), (1.4, 0.358), (1.5, 0.344), (1.55, 0.3376), (1.6, 0.3315), (1.65, 0.326),
      (1.7, 0.3209), (1.75, 0.316), (1.8, 0.3117), (1.85, 0.3078), (1.9, 0.3042), (1.95, 0.301),
      (2.0, 0.298), (2.05, 0.2951), (2.1, 0.2922), (2.15, 0.2892), (2.2, 0.2864), (2.25, 0.2835),
      (2.3, 0.2807), (2.35, 0.2779), (2.4, 0.2752), (2.45, 0.2725), (2.5, 0.2697), (2.55, 0.267),
      (2.6, 0.2643), (2.65, 0.2615), (2.7, 0.2588), (2.75, 0.2561), (2.8, 0.2533), (2.85, 0.2506),
      (2.9, 0.2479), (2.95, 0.2451), (3.0, 0.2424), (3.1, 0.2368), (3.2, 0.2313), (3.3, 0.2258),
      (3.4, 0.2205), (3.5, 0.2154), (3.6, 0.2106), (3.7, 0.206), (3.8, 0.2017), (3.9, 0.1975),
      (4.0, 0.1935), (4.2, 0.1861), (4.4, 0.1793), (4.6, 0.173), (4.8, 0.1672), (5.0, 0.1618)]
DEG = 0.017453292519943295


def cd_of(rows, m):
    if not rows:
        return 0.0
    if m <= rows[0][0]:
        return rows[0][1]
    if m >= rows[-1][0]:
        return rows[-1][1]
    for (m0, c0), (m1, c1) in zip(rows, rows[1:]):
        if m0 <= m < m1:
            return c0 + (m - m0) / (m1 - m0) * (c1 - c0)
    return rows[-1][1]


def density(t, p, h):
    tc = (t - 32.0) / 1.8
    es = math.pow(10.0, 7.5 * tc / (tc + 237.7)) * 0.02953
    return (59.0 + 459.67) / (t + 459.67) * (p - (h / 100.0) * es * 0.3783) / 29.92


def miller(r, mv):
    if r["bulletDiameter"] == 0.0:
        return 0.0
    tw, ln = r["twistRate"], r["bulletLength"]
    lc = ln / abs(r["bulletDiameter"])
    try:
        base = 30.0 * r["bulletWeight"] / (tw * tw * ln * (1.0 + lc * lc))
    except ZeroDivisionError:
        base = math.inf if r["bulletWeight"] > 0 else (-math.inf if r["bulletWeight"] < 0 else math.nan)
    q = mv / 2800.0
    root = math.pow(q, 0.3333333333333333) if q >= 0 else math.nan
    return base / density(r["temperature"], r["pressure"], 0.0) * root


def rnd(v, s):
    if not math.isfinite(v):
        return v
    x = v * s
    r = math.floor(abs(x) + 0.5)
    if r - abs(x) > 0.5:  # floor(a + 0.5) can round up when a + 0.5 is inexact
        r -= 1.0
    return math.copysign(r, x) / s


def solve(req):
    r = dict(DEFAULTS)
    r.update(req)
    model = r["dragModel"].upper()
    rows = G7 if model == "G7" else ([tuple(p) for p in (r["customCurve"] or [])] if model == "CUSTOM" else G1)
    bands = [tuple(b) for b in r["bcBands"]]
    mv = r["muzzleVelocity"]
    if r["mvTempSensitivity"] != 0.0:
        mv += r["mvTempSensitivity"] * (r["temperature"] - r["mvReferenceTemp"])
    rho = density(r["temperature"], r["pressure"], r["humidity"])
    c = 49.0223 * math.sqrt(r["temperature"] + 459.67)
    g = -32.174 * math.cos(r["shootingAngle"] * DEG)

    def acc(vx, vy):
        v = math.sqrt(vx * vx + vy * vy)
        if v < 1.0:
            return 0.0, g
        bc = r["ballisticCoefficient"]
        if bands:
            bc = next((b for (bv, b) in bands if bv <= v), bands[-1][1])
        a = -0.000208554 * (v * v) * cd_of(rows, v / c) * rho / bc
        return a * vx / v, g + a * vy / v

    def step(x, y, vx, vy):
        dt = 0.0005
        k1 = (vx, vy) + acc(vx, vy)
        s2 = (x + k1[0] * dt / 2, y + k1[1] * dt / 2, vx + k1[2] * dt / 2, vy + k1[3] * dt / 2)
        k2 = (s2[2], s2[3]) + acc(s2[2], s2[3])
        s3 = (x + k2[0] * dt / 2, y + k2[1] * dt / 2, vx + k2[2] * dt / 2, vy + k2[3] * dt / 2)
        k3 = (s3[2], s3[3]) + acc(s3[2], s3[3])
        s4 = (x + k3[0] * dt, y + k3[1] * dt, vx + k3[2] * dt, vy + k3[3] * dt)
        k4 = (s4[2], s4[3]) + acc(s4[2], s4[3])
        new = [s + (a + 2.0 * b + 2.0 * cc + d) * dt / 6.0 for s, a, b, cc, d in zip((x, y, vx, vy), k1, k2, k3, k4)]
        return tuple(new)

    y0 = -r["sightHeight"] / 12.0
    lo, hi = 0.0, 0.1
    zr = r["zeroRange"] * 3.0
    for _ in range(50):
        th = (lo + hi) * 0.5
        x, y, vx, vy, t = 0.0, y0, mv * math.cos(th), mv * math.sin(th), 0.0
        while x < zr:
            if math.sqrt(vx * vx + vy * vy) < 100.0 or t > 60.0:
                break
            x, y, vx, vy = step(x, y, vx, vy)
            t += 0.0005
        if y > 0.0:
            hi = th
        else:
            lo = th
    sg = miller(r, mv)
    out = {"points": [], "stability": {"sg": rnd(sg, 100.0),
                                       "rating": "stable" if sg >= 1.5 else ("marginal" if sg >= 1.0 else "unstable")},
           "transonicRange": None, "subsonicRange": None}
    stop = r["maxRange"] * 3.0 + 1.0
    if stop <= 0.0:
        return out
    W = r["windSpeed"] * 1.46667 * math.sin(r["windDirection"] * DEG)
    lat, az = r["latitude"] * DEG, r["targetAzimuth"] * DEG
    th = (lo + hi) * 0.5
    x, y, vx, vy, t = 0.0, y0, mv * math.cos(th), mv * math.sin(th), 0.0
    D = r["rangeStep"] * 3.0
    while True:
        if x >= stop or math.sqrt(vx * vx + vy * vy) < 100.0 or t > 60.0:
            break
        x, y, vx, vy = step(x, y, vx, vy)
        t += 0.0005
        if x >= D:
            D = D + r["rangeStep"] * 3.0
            R = x / 3.0
            v = math.sqrt(vx * vx + vy * vy)
            drop = -12.0 * y
            if r["includeAeroJump"]:
                J = (sg + 1.2) * (W / mv) * 12.0
                drop = drop - R / 1000.0 * J if r["twistRate"] > 0 else drop + R / 1000.0 * J
            if r["includeCoriolis"]:
                drop += -12.0 * 7.2921e-5 * math.cos(lat) * math.sin(az) * x * t
            wind = W * (t - x / mv) * 12.0
            if r["includeSpinDrift"]:
                sd = 1.25 * (sg + 1.2) * math.pow(t, 1.83)
                wind = wind - sd if r["twistRate"] <= 0 else wind + sd
            if r["includeCoriolis"]:
                wind += 12.0 * 7.2921e-5 * math.sin(lat) * math.sin(az) * x * t
            mach = v / c
            zone = "Subsonic" if mach <= 1.0 else ("Transonic" if mach <= 1.2 else "Supersonic")
            F = R / 100.0 if R > 0 else 1.0
            row = {"range": rnd(R, 10.0), "velocity": rnd(v, 10.0), "mach": rnd(mach, 1000.0),
                   "time": rnd(t, 10000.0), "energy": rnd(v * v * r["bulletWeight"] / 450436.0, 10.0),
                   "dropInches": rnd(drop, 100.0), "dropMoa": rnd(drop / (1.047 * F), 100.0),
                   "dropMil": rnd(drop / (3.6 * F), 100.0), "windInches": rnd(wind, 100.0),
                   "windMoa": rnd(wind / (1.047 * F), 100.0), "windMil": rnd(wind / (3.6 * F), 100.0), "zone": zone}
            if zone == "Transonic" and out["transonicRange"] is None:
                out["transonicRange"] = row["range"]
            if zone == "Subsonic" and out["subsonicRange"] is None:
                out["subsonicRange"] = row["range"]
            out["points"].append(row)
    return out


def number_text(v):
    """A double as shortest digits in the reply's layout."""
    if v is None or not math.isfinite(v):
        return "null"
    if v == 0.0:
        return "-0.0" if math.copysign(1.0, v) < 0 else "0.0"
    sign = "-" if v < 0 else ""
    mant, _, exp = ("%r" % abs(v)).partition("e")
    if "." in mant:
        ip, fp = mant.split(".")
    else:
        ip, fp = mant, ""
    digits = (ip + fp).lstrip("0")
    # value = int(ip + fp) × 10^(exp − len(fp)); trailing zeros move into the exponent
    e10 = (int(exp) if exp else 0) - len(fp)
    stripped = digits.rstrip("0")
    e10 += len(digits) - len(stripped)
    digits = stripped
    n, k = len(digits), e10
    kk = n + k
    if 0 <= k and kk <= 16:
        s = digits + "0" * k + ".0"
    elif 0 < kk <= 16:
        s = digits[:kk] + "." + digits[kk:]
    elif -5 < kk <= 0:
        s = "0." + "0" * (-kk) + digits
    else:
        s = digits[0] + ("." + digits[1:] if n > 1 else "") + "e" + str(kk - 1)
    return sign + s


def reply_text(sol):
    def val(v):
        return '"%s"' % v if isinstance(v, str) else number_text(v)
    pts = ",".join("{" + ",".join('"%s":%s' % (k, val(v)) for k, v in p.items()) + "}" for p in sol["points"])
    st = sol["stability"]
    return ('{"points":[%s],"stability":{"sg":%s,"rating":"%s"},"transonicRange":%s,"subsonicRange":%s}'
            % (pts, number_text(st["sg"]), st["rating"], number_text(sol["transonicRange"]),
               number_text(sol["subsonicRange"])))


REQUESTS = [
    {},
    {"dragModel": "G7", "ballisticCoefficient": 0.243, "maxRange": 1500, "rangeStep": 50},
    {"windSpeed": 10, "windDirection": 45, "includeSpinDrift": True, "includeAeroJump": True,
     "includeCoriolis": True, "latitude": 60, "targetAzimuth": 90, "maxRange": 1200},
    {"twistRate": -8, "includeSpinDrift": True, "includeAeroJump": True, "windSpeed": 12},
    {"bcBands": [[3000, 0.5], [2000, 0.45]], "muzzleVelocity": 3100, "maxRange": 800},
    {"dragModel": "Custom", "customCurve": [[0.5, 0.2], [0.9, 0.25], [1.1, 0.45], [2.0, 0.35], [3.0, 0.3]],
     "ballisticCoefficient": 0.5},
    {"dragModel": "custom", "customCurve": [[2.0, 0.35], [0.5, 0.2], [1.1, 0.45]]},
    {"dragModel": "custom", "customCurve": [[0, -5], [5, -5]]},
    {"temperature": 10, "pressure": 25.5, "humidity": 90, "mvTempSensitivity": 1.5, "mvReferenceTemp": 70},
    {"shootingAngle": 30, "zeroRange": 200, "sightHeight": 2.5, "rangeStep": 25, "maxRange": 600},
    {"muzzleVelocity": 1050, "bulletWeight": 220, "ballisticCoefficient": 0.6, "maxRange": 400, "rangeStep": 10},
    {"zeroRange": 0, "maxRange": 300},
    {"sightHeight": -1, "zeroRange": -5, "maxRange": 200},
    {"bulletDiameter": 0, "includeSpinDrift": True, "maxRange": 300},
    {"twistRate": 0, "includeSpinDrift": True, "maxRange": 200},
    {"maxRange": 0},
    {"maxRange": 10000, "rangeStep": 500},
    {"muzzleVelocity": -100},
    {"rangeStep": 0, "maxRange": 5},
    {"dragModel": "Custom"},
    {"maxRange": 50, "rangeStep": 10},
    {"maxRange": 100, "zeroRange": 1000, "rangeStep": 25},
    {"muzzleVelocity": 1000, "zeroRange": 3000, "maxRange": 500},
    {"muzzleVelocity": 3000, "ballisticCoefficient": 0.05, "zeroRange": 600, "maxRange": 300, "rangeStep": 50},
]

def random_requests(count, seed=20261207):
    """Varied loads, zeros and conditions, so zeroing meets many different brackets."""
    import random
    rng = random.Random(seed)
    out = []
    for _ in range(count):
        req = {"muzzleVelocity": round(rng.uniform(1100, 3600), 1),
               "ballisticCoefficient": round(rng.uniform(0.15, 0.75), 3),
               "dragModel": rng.choice(["G1", "G7", "g7", "Custom"]),
               "zeroRange": rng.choice([25, 50, 100, 150, 200, 300, 500, 1000]),
               "sightHeight": round(rng.uniform(-1.0, 3.5), 2),
               "maxRange": rng.choice([100, 300, 600, 1200]),
               "rangeStep": rng.choice([10, 25, 50, 100]),
               "temperature": round(rng.uniform(-20, 110), 1),
               "humidity": round(rng.uniform(0, 100), 1),
               "shootingAngle": round(rng.uniform(-30, 30), 1),
               "windSpeed": round(rng.uniform(0, 20), 1),
               "windDirection": round(rng.uniform(0, 360), 1),
               "includeSpinDrift": rng.random() < 0.5,
               "includeAeroJump": rng.random() < 0.5,
               "includeCoriolis": rng.random() < 0.5,
               "twistRate": rng.choice([7, 8, 9, 10, 12, -10]),
               "latitude": round(rng.uniform(-60, 60), 1),
               "targetAzimuth": round(rng.uniform(0, 360), 1)}
        if req["dragModel"] == "Custom":
            machs = sorted(round(rng.uniform(0.3, 4.0), 3) for _ in range(rng.randint(2, 8)))
            req["customCurve"] = [[m, round(rng.uniform(0.15, 0.7), 4)] for m in machs]
        if rng.random() < 0.3:
            req["bcBands"] = [[3000, req["ballisticCoefficient"]], [2000, round(req["ballisticCoefficient"] * 0.95, 3)],
                              [1200, round(req["ballisticCoefficient"] * 0.9, 3)]]
        out.append(req)
    return out


if __name__ == "__main__":
    for req in REQUESTS + random_requests(25):
        text = json.dumps(req, separators=(",", ":"))
        print(text)
        print(reply_text(solve(req)))
