"""A second, independent implementation of a closed-circuit dive's bailout
plan, written from the model's description rather than from the C++ code: the
dive's walk with every second's tissues, ceiling, EAD, CNS, OTU and counter-
diffusion flag; the trigger (the ceiling of the bailout second recomputed with
the bailout rule's gradient factor); the bailout plan points cut from the
profile (also on the way up from a stop: the stop's whole time first); the
switch points; the suggested gases with the counter-diffusion optimisation
and the CNS fit; the gases from a list with the counter-diffusion repair and
the working Max PPO2 lowered until the CNS fits; and the walk of the bailout
plan points with the bailout rates and gradient factors.

Surface pressure 1000 mbar, ZH-L16C, a dive that starts from the surface and
stays within 6 hours; the status log is not modelled. compare_bailouts.py runs
it against the engine.
"""
import math, os, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bailout_formulas import below, name as gas_name, round_multiple, select  # noqa: E402

HN = [4, 8, 12.5, 18.5, 27, 38.3, 54.3, 77, 109, 146, 187, 239, 305, 390, 498, 635]
HH = [1.51, 3.02, 4.72, 6.99, 10.21, 14.48, 20.53, 29.11, 41.2, 55.19, 70.69, 90.34, 115.29, 147.42, 188.24, 240.03]
AN = [1259.9, 1000, 861.8, 756.2, 620, 504.3, 441, 400, 375, 350, 329.5, 306.5, 283.5, 261, 248, 232.7]
BN = [0.505, 0.6514, 0.7222, 0.7825, 0.8126, 0.8434, 0.8693, 0.891, 0.9092, 0.9222, 0.9319, 0.9403, 0.9477,
      0.9544, 0.9602, 0.9653]
AH = [1742.4, 1383, 1191.9, 1045.8, 922, 820.5, 730.5, 650.2, 595, 554.5, 533.3, 518.9, 518.1, 517.6, 517.2, 511.9]
BH = [0.4245, 0.5747, 0.6527, 0.7223, 0.7582, 0.7957, 0.8279, 0.8553, 0.8757, 0.8903, 0.8997, 0.9073, 0.9122,
      0.9171, 0.9217, 0.9267]
KN = [1 - 2 ** (-1 / (h * 60)) for h in HN]
KH = [1 - 2 ** (-1 / (h * 60)) for h in HH]
SURFACE = 1000.0
PS = SURFACE / 1000
CNS_P = [0.6, 0.7, 0.8, 0.9, 1.0, 1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8, 1.9]
CNS_L = [720, 570, 450, 360, 300, 240, 210, 180, 150, 120, 45, 10, 2, 0.645161]
PLANNED, DESCENT, ASCENT, DECO = 2, 1, 4, 5


def cns_increment(p, t):
    if p < 0.5: return 0.0
    if p <= 0.6: return t / (720 * 60)
    if p >= 1.9: return t / (0.645161 * 60)
    i = next(i for i, q in enumerate(CNS_P) if q > p)
    p0, l0, p1, l1 = CNS_P[i - 1], CNS_L[i - 1], CNS_P[i], CNS_L[i]
    return t / ((l0 - (p - p0) / (p1 - p0) * (l0 - l1)) * 60)


def otu_increment(p, t):
    return 0.0 if p < 0.5 else (0.5 / (p - 0.5)) ** (-0.8333333333333334) * t / 60


def above(a, b):  # a above b by more than the tolerance of limits equal on paper
    return below(b, a, 1e-9)


def point(depth, dur, o2, he, cc=1, sp=1.3, ncs=0, bailout=0):
    return dict(depth=depth, dur=dur, o2=o2, he=he, cc=cc, sp=sp, ncs=ncs, bailout=bailout, reserved=-1)


# ---- One calculation -----------------------------------------------------------

class Walk:
    """The walk of input points (plan-plus or bailout plan points) with every second's state."""

    def __init__(self, dive, inputs, bailout_mode):
        self.d, self.inputs, self.bo = dive, inputs, bailout_mode
        self.prof, self.sec = [], []
        self.bailout_second = 999999
        self.walked = bailout_mode
        self.after = False  # bailout rates in use
        self.M = 1600.0
        self.icd = False
        self.run()

    # -- per second
    def gf(self, q, A, t):
        lo, hi = self.d['lo'], self.d['hi']
        if self.walked and t >= self.bailout_second:
            lo, hi = max(lo, self.d['blo']), max(hi, self.d['bhi'])
        if lo == hi or q < SURFACE: return hi / 100
        if A > self.M: return lo / 100
        D = self.M - (SURFACE + self.d['L'] * 100)
        if D <= 0: return hi / 100
        return (lo + (hi - lo) / D * (self.M - A)) / 100

    @staticmethod
    def ceiling(n2, he, g):
        g = max(g, 0.0)
        c = 0.0
        for i in range(16):
            p = n2[i] + he[i]
            if p <= 0: continue
            a = (AN[i] * n2[i] + AH[i] * he[i]) / p
            b = (BN[i] * n2[i] + BH[i] * he[i]) / p
            c = max(c, (p - g * a) / (g / b - g + 1))
        return c

    def first_second(self):
        n = (SURFACE - 56.7) * 0.79
        s = dict(t=0, P=0.0, n2=[n] * 16, he=[0.0] * 16, o2=21, hef=0, cc=0, sp=0, cns=0.0, otu=0.0, ead=0.0,
                 icd=False, bailout=0)
        c = self.ceiling(s['n2'], s['he'], self.gf(0, SURFACE, 0))
        self.M = max(self.M, c)
        s['ceil'], s['M'] = c - SURFACE, self.M - SURFACE
        self.sec.append(s)

    @staticmethod
    def end(p):
        return p['start'] + p['dur'] - 1 if p['dur'] > 0 else p['start']

    def step_to_end(self):
        last = self.end(self.prof[-1])
        for t in range(len(self.sec), last + 1):
            k = next(k for k, q in enumerate(self.prof) if q['start'] <= t <= self.end(q))
            q = self.prof[k]
            prev = self.prof[k - 1]['depth'] * 100 if k > 0 else q['depth'] * 100
            qe = self.end(q)
            P = prev if qe == q['start'] else prev + (t - q['start']) / (qe - q['start']) * (q['depth'] * 100 - prev)
            o, h, cc, sp = q['o2'], q['he'], q['cc'], q['sp']
            x = 100 - o - h
            was = self.sec[t - 1]
            ppo2 = sp if cc else (P + SURFACE) / 1000 * o / 100
            if cc:
                n = x / (x + h) * (P / 1000 + SURFACE / 1000 - sp) if x + h > 0 else 0.0
            else:
                n = (P / 1000 + 1) * x / 100
            ead = max(0.0, (n / 0.79 - 1) * 10)
            A = SURFACE + P - 56.7
            if cc:
                iN = x / (x + h) * (A - sp * 1000) if x + h > 0 else 0
                iH = h / (x + h) * (A - sp * 1000) if x + h > 0 else 0
            else:
                iN, iH = x / 100 * A, h / 100 * A
            iN = max(iN, 0) if x > 0 else 0
            iH = max(iH, 0) if h > 0 else 0
            n2 = [was['n2'][i] + KN[i] * (iN - was['n2'][i]) for i in range(16)]
            he = [was['he'][i] + KH[i] * (iH - was['he'][i]) for i in range(16)]
            c = self.ceiling(n2, he, self.gf(was['ceil'] + SURFACE, P + SURFACE, t))
            self.M = max(self.M, c)
            if self.walked and t == self.bailout_second and not (was['M'] > was['ceil']):
                self.M = c
            s = dict(t=t, P=P, n2=n2, he=he, o2=o, hef=h, cc=cc, sp=sp, cns=was['cns'] + cns_increment(ppo2, 1),
                     otu=was['otu'] + otu_increment(ppo2, 1), ead=ead, ceil=c - SURFACE, M=self.M - SURFACE,
                     bailout=q['bailout'])
            same = (o, h, cc) == (was['o2'], was['hef'], was['cc']) and (not cc or sp == was['sp'])
            if not same:
                margin = P / 100 - max(s['ceil'] / 100, 0.0)
                self.icd = ead - was['ead'] > margin
            s['icd'] = self.icd
            self.sec.append(s)

    def cut_after(self, end):
        del self.sec[end + 1:]  # the max ceiling stays as the dive's running value

    # -- the walk
    def next_stop(self, t, d):
        c = self.sec[t - 1]['ceil'] / 100
        L = self.d['L']
        if c < 0: return -1
        if c < d and L <= d: return -1
        if L >= c: return L
        s = L
        while s < c: s = 6 if s < 6 else s + 3
        return s

    def next_stop_now(self, d):
        return self.next_stop(len(self.sec), d)

    def travel(self, a, b):
        desc, asc = (self.d['bdesc'], self.d['basc']) if self.after else (self.d['desc'], self.d['asc'])
        return int((b - a) / (desc / 60)) if a < b else int((a - b) / (asc / 60))

    def add(self, p, kind, start, dur, src, depth=None):
        q = dict(p, kind=kind, start=start, dur=dur, source=src)
        if depth is not None: q['depth'] = depth
        if kind in (DESCENT, ASCENT, DECO): q['ncs'] = 0
        self.prof.append(q)
        return q

    def run(self):
        pts = self.inputs
        self.first_second()
        self.add(pts[0], 0, 0, 0, 0.0)
        H, T, E, src = pts[0]['depth'], 1, 0, 0.0
        n = len(pts)
        for i in range(1, n + 1):
            prv = pts[i - 1]
            tgt = pts[i] if i < n else None
            v, u = (tgt['depth'], tgt['dur']) if tgt else (0, 0)
            if self.walked and not self.after and tgt and tgt['bailout']:
                self.after = True
                self.bailout_second = T - 1
            if tgt and v > H:
                d = self.travel(H, v)
                src += 0.01
                self.add(prv, DESCENT, T, d, src, v)
                E += d
                self.step_to_end()
                T += d
                src = i
                H = v
                if u != 0:
                    self.add(tgt, PLANNED, T, max(0, u - E), src)
                    E = 0
                    self.step_to_end()
                    T += self.prof[-1]['dur']
                continue
            if v == H:
                if tgt:
                    src = i
                    self.add(tgt, PLANNED, T, u, src)
                    self.step_to_end()
                    T += u
                continue
            while v < H:
                start_T, start_H = T, H
                X = self.next_stop_now(v)
                Y = v if X < v else min(X, H)
                if Y != H:
                    src += 0.01
                    p = self.add(prv, ASCENT, T, self.travel(H, Y), src, Y)
                    self.step_to_end()
                    X2 = self.next_stop_now(v)
                    if X2 > Y:
                        Y = min(X2, H)
                        p['depth'], p['dur'] = Y, self.travel(H, Y)
                        self.cut_after(self.end(p))
                    H = Y
                    while H != 0:
                        ns = self.next_stop_now(v)
                        lvl = v if ns == -1 else (H if ns > H else ns)
                        if lvl == H: break
                        p['depth'], p['dur'] = lvl, p['dur'] + self.travel(H, lvl)
                        self.step_to_end()
                        H = lvl
                    T += p['dur']
                    Y = H
                stop = self.next_stop_now(v) >= Y
                if not stop and T == start_T and H == start_H: stop = True
                if stop:
                    src += 0.01
                    q = self.add(self.prof[-1], DECO, T, (T // 60) * 60 + 60 - T, src)
                    self.step_to_end()
                    while self.next_stop_now(v) >= Y:
                        q['dur'] += 60
                        self.step_to_end()
                    T += q['dur']
                    H = Y
            if tgt:
                src = i
                self.add(tgt, PLANNED, T, u, src)
                self.step_to_end()
                T += u

    @property
    def run_time(self):
        return self.end(self.prof[-1])


def plan_plus(user_points):
    pp = []
    for i, u in enumerate(user_points):
        if i == 0 and u['depth'] != 0: pp.append(dict(u, depth=0, dur=0, ncs=0))
        pp.append(dict(u))
    return pp


# ---- The bailout plan --------------------------------------------------------------

class Refused(Exception):
    pass


class Bailout:
    """SetBailout on a calculated dive and the planning that follows it."""

    def __init__(self, dive, user_points, second, answers=(False, False)):
        self.d = dict(dive)
        self.pp = plan_plus(user_points)
        self.normal = Walk(self.d, self.pp, False)
        self.answers = answers
        self.shown = []
        self.switches = [None] * 12  # (depth, o2, he) or None
        self.second = second
        self.trigger()
        self.cut()
        self.initial = [dict(p) for p in self.points]
        self.walk = None
        self.result = self.plan()
        self.valid = self.result == 1

    # -- the trigger: the ceiling of the bailout second with the bailout rule's gradient factor
    def trigger(self):
        w, S = self.normal, self.second
        now, was = w.sec[S], w.sec[S - 1]
        self.depth = now['P'] / 100
        lo, hi = max(self.d['lo'], self.d['blo']), max(self.d['hi'], self.d['bhi'])
        q, A, M = was['ceil'] + SURFACE, now['P'] + SURFACE, was['M'] + SURFACE
        if lo == hi or q < SURFACE: g = hi / 100
        elif A > M: g = lo / 100
        else:
            D = M - (SURFACE + self.d['L'] * 100)
            g = hi / 100 if D <= 0 else (lo + (hi - lo) / D * (M - A)) / 100
        self.ceiling = (Walk.ceiling(now['n2'], now['he'], g) - SURFACE) / 100
        self.ead = now['ead']

    # -- the bailout plan points
    def cut(self):
        prof, S, pp = self.normal.prof, self.second, self.pp
        seg = next(i for i, p in enumerate(prof) if p['start'] <= S <= Walk.end(p))
        sp = prof[seg]
        k = min(len(pp) - 1, max(0, math.floor(sp['source'])))
        inserted = sp['source'] > k
        remaining = sp['start'] + sp['dur'] - 1 - S if sp['kind'] == PLANNED else 0
        elapsed = S - sp['start'] if sp['kind'] == DECO else 0
        pts = [dict(p) for p in pp[:k + 1]]
        b = self.depth
        overhead = False
        stop = prof[seg - 1] if inserted and sp['kind'] == ASCENT and seg > 0 and prof[seg - 1]['kind'] == DECO else None
        if remaining > 0:
            remaining = min(remaining, pts[-1]['dur'])
            pts[-1]['dur'] -= remaining
            if pp[k]['ncs'] and remaining > 0:
                pts.append(dict(pp[k], dur=remaining, cc=0, depth=b, o2=0, he=0, bailout=1))
                overhead = True
        elif inserted:
            if stop:
                pts.append(dict(pp[k], dur=stop['dur'], depth=stop['depth'], ncs=0, bailout=0))
            pts.append(dict(pp[k], dur=elapsed if sp['kind'] == DECO else 0, depth=b, ncs=0, bailout=0))
        deepest = stop['depth'] if stop else pts[-1]['depth']
        if not overhead:
            pts.append(dict(pp[k], dur=0, cc=0, ncs=0, depth=b, o2=0, he=0, bailout=1))
            deepest = max(deepest, b)
        self.start = len(pts) - 1
        for i in range(k + 1, len(pp)):
            if not pp[i]['ncs']: continue
            o = dict(pp[i], cc=0, o2=0, he=0, bailout=1)
            if i == k + 1 and inserted and sp['kind'] == DESCENT and abs(o['depth'] - b) < 1e-9:
                first = seg
                while first > 0 and prof[first - 1]['kind'] == DESCENT: first -= 1
                o['dur'] = max(0, o['dur'] - (S - prof[first]['start'] + 1))
            pts.append(o)
            deepest = max(deepest, o['depth'])
        for p in pts: p['reserved'] = -1
        self.points, self.deepest = pts, deepest

    # -- switches among the points
    def index_for(self, depth):
        n = 0
        for s in self.switches:
            if s is None or below(s[0], depth, 0.001): break
            n += 1
        return n - 1

    def assign(self, p, i):
        s = self.switches[i]
        p.update(cc=0, o2=s[1], he=s[2], reserved=i)

    def assign_all(self):
        for p in self.points[self.start:]:
            i = self.index_for(p['depth'])
            if i < 0: return False
            self.assign(p, i)
        return True

    def add_switches(self):
        if not self.assign_all(): return False
        pts = self.points

        def switch_point(c, i):
            p = dict(c, depth=self.switches[i][0], dur=0, ncs=0)
            self.assign(p, i)
            return p
        c = self.start
        while c + 1 < len(pts):
            j = pts[c]['reserved']
            if j == -1: j = self.index_for(pts[c]['depth']) + 1
            e = pts[c + 1]['reserved']
            order = range(j + 1, e + 1) if j < e else range(j - 1, e - 1, -1)
            between = [switch_point(pts[c], s) for s in order if self.switches[s] is not None]
            pts[c + 1:c + 1] = between
            c += len(between) + 1
        last = pts[-1]
        for s in range(last['reserved'] + 1, 12):
            if self.switches[s] is not None: pts.append(switch_point(last, s))
        return True

    def remove_switches(self):
        self.points = self.points[:self.start + 1] + [p for p in self.points[self.start + 1:] if p['ncs']]

    def restore(self):
        self.points = [dict(p) for p in self.initial]

    def recalculate(self):
        self.walk = Walk(self.d, self.points, True)

    def last_cns(self):
        return self.walk.sec[-1]['cns']

    def ask(self, which, text):
        answer = self.answers[0 if which == 'more' else 1]
        self.shown.append((text, answer))
        return answer

    # -- suggested gases
    def switch_depths(self):
        deepest, pbo = self.deepest, PS + self.deepest / 10
        setting = self.d['switches']
        n = min(max(setting, 1), 12)
        mx = 1 + sum(1 for d in (7, 10, 14, 17, 21, 25, 30, 35, 41, 48, 56) if d <= deepest)
        if n > mx:
            if not self.ask('fewer', 'Too many gases (%d) for bailout.\n\nAllow the planner to reduce the number '
                                     'of gases?' % n): return False
            n = mx
        ratio_s = (pbo / PS) ** (1 / n)
        limit = self.d['max_ppo2'] / 0.2
        if above(ratio_s, limit):
            if not self.ask('more', 'Not enough gases (%d) for bailout.\n\nAllow the planner to add gases?' % n):
                return False
            while True:
                n += 1
                if n > 12: return False
                ratio_s = (pbo / PS) ** (1 / n)
                if not above(ratio_s, limit): break
        self.d['switches'] = n
        ratio = min(ratio_s, 1000 if n == 1 else (pbo / (PS + 0.6)) ** (1 / (n - 1)))
        p = pbo
        for k in range(12):
            if k == 0:
                depth = (p - PS) * 10
            else:
                p = p / ratio
                if below(p, 1.0, 0.001): p = 1.0
                depth = 0 if below(p, PS + 0.6, 0.001) else max(6, round_multiple(10 * (p - PS), 3))
            old = self.switches[k]
            self.switches[k] = (depth, old[1] if old else 0, old[2] if old else 0) if depth > 0 else None
        return True

    def gas_for_switch(self, depth, prev_n2, first, target):
        target = min(target, 1.8 if first else 1.6)
        p = PS + depth / 10
        h = self.d['max_ead']
        if first:
            at_ceiling = PS + self.ceiling / 10
            if at_ceiling > 0: target = min(target, 1.6 * p / at_ceiling)
            if not self.d['ignore_icd']: h = min(h, depth - self.ceiling + self.ead)
        o2 = math.floor(min(100, target * 100 / p))
        inert = 100 - o2
        n2 = min((PS + h / 10) * 0.79 / p * 100, inert) if (first or self.d['ignore_icd']) else min(prev_n2, inert)
        n2 = max(0.0, n2)
        return o2, inert - math.floor(n2)

    def switch_gases(self, max_ppo2, ratio):
        x, prev_n2, first = max_ppo2, 0, True
        for k, s in enumerate(self.switches):
            if s is None: continue
            target = x
            if not first:
                x = min(1.6, x) / ratio
                target = round_multiple(x, 0.05)
            o2, he = self.gas_for_switch(s[0], prev_n2, first, target)
            self.switches[k] = (s[0], o2, he)
            prev_n2, first = 100 - o2 - he, False

    def icd_values(self, i):
        d, o2, he = self.switches[i]
        for p in self.walk.prof:
            if not p['bailout'] or p['o2'] != o2 or p['he'] != he: continue
            if abs(p['depth'] - d) > 1e-9 * max(1.0, d): continue
            s = self.walk.sec[p['start']]
            margin = d - s['ceil'] / 100
            return margin, min(s['ead'] + margin, self.d['max_ead'])
        return None

    def optimise_icd(self):
        n = min(self.d['switches'], 12)
        recalc = True
        if n > 1 and not any(p['ncs'] for p in self.points[self.start:]):
            for i in range(1, n):
                d, o2, he = self.switches[i]
                if he == 0: break
                found = self.icd_values(i)
                if found is None:
                    recalc = False
                    break
                margin, target = found
                if margin < 2.0: break
                inert = 100 - o2
                n2 = math.floor(min(inert, (PS + target / 10) * 0.79 / (PS + d / 10) * 100))
                self.switches[i] = (d, o2, inert - n2)
                for j in range(i + 1, n):
                    dj, oj, hj = self.switches[j]
                    if hj == 0: break
                    inert_j = 100 - oj
                    self.switches[j] = (dj, oj, inert_j - min(math.floor(inert_j), inert_j - hj))
        if not self.assign_all(): return False
        if recalc: self.recalculate()
        return True

    def fit_cns(self):
        limit = self.d['max_cns'] / 100
        if self.last_cns() <= limit: return 1
        n = min(self.d['switches'], 12)
        if n > 1:
            s = min(self.d['max_ppo2'], 1.55)
            while s >= 0.5 - 1e-9:
                ratio = (min(self.d['max_ppo2'], 1.6) / s) ** (1 / (n - 1))
                self.restore()
                self.switch_gases(self.d['max_ppo2'], ratio)
                if not self.add_switches(): return 0
                self.recalculate()
                if self.last_cns() < limit: return 1
                s -= 0.05
        self.shown.append(('Warning - Cannot Meet Max CNS% limit with current settings', None))
        return 2

    def suggest(self):
        self.switch_depths()
        self.switch_gases(self.d['max_ppo2'], 1.0)
        if not self.add_switches(): return 0
        self.recalculate()
        if not self.d['ignore_icd'] and not self.optimise_icd(): return 0
        if self.d['ignore_cns']: return 1
        return self.fit_cns()

    # -- gases from the list
    def read_list(self, w):
        gases = []
        for item, text in enumerate(self.d['list'].split(','), 1):
            parts = text.strip().split('/')
            try:
                o2, he = float(parts[0]), float(parts[1])
                if len(parts) != 2: raise ValueError
            except (ValueError, IndexError):
                continue
            o2, he = math.floor(o2 + 0.5), math.floor(he + 0.5)
            if he < 0 or not (o2 + he <= 100 and o2 >= 5 and he <= 99): continue
            if len(gases) == 12: continue
            n2 = 100 - o2 - he
            ppo2 = w * 100 / o2
            ead = (PS + self.d['max_ead'] / 10) * 0.79 * 100 / n2 if n2 > 0 else ppo2
            mx = min(ppo2, ead)
            gases.append(dict(o2=o2, he=he, max=mx, min=20 / o2, zero=PS * 0.79 / (n2 / 100) if n2 > 0 else mx,
                              order=item))
        return gases

    def check_output(self, out, icd_count):
        pbo = PS + self.deepest / 10
        prefix = 'ICD Checks, ' if icd_count > 0 else ''
        if not out or above(pbo, out[0]['max']):
            return self.warn('Warning - %sNo gas suitable at bailout depth with current gases and settings' % prefix)
        if len(out) == 1 and out[0]['min'] > PS:
            return self.warn('Warning - %sSingle gas do not reach from bailout depth to surface with current gases '
                             'and settings' % prefix)
        for k in range(len(out) - 1):
            if out[k + 1]['max'] < out[k]['min']:
                if out[k]['min'] > PS:
                    return self.warn('Warning - %sGases do not overlap from bailout depth to surface with current '
                                     'gases and settings' % prefix)
                del out[k + 1:]
                break
        if out[-1]['min'] > PS:
            return self.warn('Warning - %sNo gas suitable at surface with current gases and settings' % prefix)
        return True

    def warn(self, text):
        self.shown.append((text, None))
        return False

    def list_switches(self, out):
        self.switches = [None] * 12
        for k, g in enumerate(out[:12]):
            self.switches[k] = (self.deepest if k == 0 else (g['max'] - PS) * 10, g['o2'], g['he'])
        self.remove_switches()
        if not self.add_switches(): return False
        self.recalculate()
        return True

    def from_list(self):
        pbo = PS + self.deepest / 10
        w, icd_count = self.d['max_ppo2'], 0
        for _ in range(40):
            base = self.read_list(w)
            if not base:
                self.warn('Warning - No gases in list')
                return 0
            base.sort(key=lambda g: (-g['o2'], g['he'], g['order']))
            if base[0]['o2'] < 20:
                self.warn('Warning - No gas suitable at surface with current gases and settings')
                return 0
            deep = next((i for i, g in enumerate(base) if not above(pbo, g['max'])), None)
            if deep is None:
                self.warn('Warning - No gas suitable at bailout depth with current gases and settings')
                return 0
            del base[deep + 1:]
            repair = 0
            while True:
                out = select(PS, base)
                if not self.check_output(out, icd_count): return 0
                if not self.list_switches(out): return 0
                if self.d['ignore_icd'] or repair > 2 * len(base): break
                flagged = next((s for s in self.walk.sec[self.walk.bailout_second + 1:] if s['icd']), None)
                if flagged is None: break
                g = next((g for g in base if (g['o2'], g['he']) == (flagged['o2'], flagged['hef'])), None)
                if g is None or (g['max'] == g['zero'] and g['max'] > g['min'] and g['zero'] >= PS): break
                g['max'] = g['zero']
                if g['max'] <= g['min'] or g['zero'] < PS: base.remove(g)
                icd_count += 1
                repair += 1
            if self.d['ignore_cns']: return 1
            if self.last_cns() < self.d['max_cns'] / 100:
                self.d['max_ppo2'] = w
                return 1
            if w <= 0.5: break
            w = 1.5 if w > 1.5 else round_multiple(w, 0.1) - 0.1
        self.warn('Warning - Cannot Meet Max CNS% limit with current settings and Gaslist')
        return 1

    def plan(self):
        if self.d['list']:
            return self.from_list()
        return self.suggest()
