"""The arithmetic of the bailout gas selection, written again from the
model's description, for the complete plans that tests/bailout checks by
hand. The inputs that come from a calculated dive (bailout ceiling and EAD,
the ceiling and EAD at a switch, which switch is a counter-diffusion risk,
the CNS of each round) are the ones the engine reported for those dives; the
switch depths and mixes are derived here and must be the ones the tests pin.

Run: python3 bailout_formulas.py  (exit status 0 when every plan agrees)
"""
import math, sys

def round_multiple(v, m):
    whole = math.trunc(v / m) * m
    return whole + m * math.floor((v - whole) / m + 0.5)

def below(a, b, t):
    return b - a > t * max(abs(a), abs(b))

def name(o2, he):
    o2, he = int(o2), int(he)
    if he: return '%d/%d' % (o2, he)
    if o2 == 100: return 'Oxygen'
    if o2 == 21: return 'Air'
    return '%d%% Nitrox' % o2

# ---- Suggested gases --------------------------------------------------------

def switch_depths(ps, deepest, n):
    pbo = ps + deepest / 10
    ratio = min(pbo ** (1 / n), 1000 if n == 1 else (pbo / (ps + 0.6)) ** (1 / (n - 1)))
    depths, p = [(pbo - ps) * 10], pbo
    for _ in range(11):
        p = p / ratio
        if below(p, 1.0, 0.001): p = 1.0
        depths.append(0 if below(p, ps + 0.6, 0.001) else max(6, round_multiple(10 * (p - ps), 3)))
    return [d for d in depths if d > 0]

def gas_for_switch(ps, d, prev_n2, first, target, max_ead, ceiling, ead, ignore_icd):
    target = min(target, 1.8 if first else 1.6)
    p = ps + d / 10
    h = max_ead
    if first:
        target = min(target, 1.6 * p / (ps + ceiling / 10))
        if not ignore_icd: h = min(h, d - ceiling + ead)
    o2 = math.floor(min(100, target * 100 / p))
    inert = 100 - o2
    n2 = min((ps + h / 10) * 0.79 / p * 100, inert) if (first or ignore_icd) else min(prev_n2, inert)
    return o2, inert - math.floor(n2)

def switch_gases(ps, depths, max_ppo2, ratio, **k):
    out, x, prev_n2 = [], max_ppo2, 0
    for i, d in enumerate(depths):
        if i: x = min(1.6, x) / ratio
        o2, he = gas_for_switch(ps, d, prev_n2, i == 0, x if i == 0 else round_multiple(x, 0.05), **k)
        out.append([d, o2, he]); prev_n2 = 100 - o2 - he
    return out

def optimise_switch(ps, sw, target_ead):
    d, o2, he = sw
    inert = 100 - o2
    n2 = math.floor(min(inert, (ps + target_ead / 10) * 0.79 / (ps + d / 10) * 100))
    return [d, o2, inert - n2]

# ---- Gases from the list -----------------------------------------------------

def list_gases(ps, items, w, max_ead):
    gases = []
    for order, (o2, he) in enumerate(items):
        n2 = 100 - o2 - he
        ppo2 = w * 100 / o2
        eadl = (ps + max_ead / 10) * 0.79 * 100 / n2 if n2 else ppo2
        mx = min(ppo2, eadl)
        gases.append(dict(o2=o2, he=he, max=mx, min=20 / o2, zero=ps * 0.79 / (n2 / 100) if n2 else mx, order=order))
    return gases

def select(ps, base):
    work = sorted(base, key=lambda g: (-g['max'], g['he'], g['order']))
    out = []
    for k, g in enumerate(work):
        if out:
            prev = out[-1]
            if g['he'] > prev['he'] or g['o2'] < prev['o2']:
                keep = work[k + 1]['max'] <= prev['min'] if k + 1 < len(work) else ps <= prev['min']
                if not keep: continue
        out.append(dict(g))
    for g in out[1:]:
        g['max'] = ps + math.trunc(10 * (g['max'] - ps) / 3 + 1e-9) * 3 / 10
    i = 1
    while i < len(out):  # one gas per depth: the richer, then the one with more nitrogen, then the earlier
        a, b = out[i - 1], out[i]
        if a['max'] == b['max']:
            drop = i if (b['o2'], -b['he']) <= (a['o2'], -a['he']) else i - 1
        elif a['max'] < b['max']:
            drop = i - 1
        else:
            i += 1
            continue
        del out[drop]
        if drop == i - 1 and i > 1: i -= 1
    return out

def list_switches(ps, deepest, out):
    return [[deepest if k == 0 else (g['max'] - ps) * 10, g['o2'], g['he']] for k, g in enumerate(out)]

def list_round(ps, deepest, items, w, max_ead, icd_gases):
    """One CNS round: the base of step 2, then repair rounds for the given risky gases."""
    pbo = ps + deepest / 10
    base = sorted(list_gases(ps, items, w, max_ead), key=lambda g: (-g['o2'], g['he'], g['order']))
    first = next(i for i, g in enumerate(base) if g['max'] >= pbo - 1e-9 * pbo)
    base = base[:first + 1]
    rounds = [list_switches(ps, deepest, select(ps, base))]
    for o2, he in icd_gases:
        g = next(g for g in base if (g['o2'], g['he']) == (o2, he))
        g['max'] = g['zero']
        if g['max'] <= g['min'] or g['zero'] < ps: base.remove(g)
        rounds.append(list_switches(ps, deepest, select(ps, base)))
    return rounds

# ---- The plans of the tests ---------------------------------------------------

def show(switches):
    return ['%0.1f %s' % (d, name(o2, he)) for d, o2, he in switches]

def check(title, got, expected):
    ok = got == expected
    print('%-58s %s' % (title, 'ok' if ok else 'MISMATCH %s != %s' % (got, expected)))
    return ok

def main():
    ok = True
    # 90 m, n 3, Max PPO2 1.4, Max EAD 30; bailout ceiling 37.22 m (the bailout
    # second's ceiling with the bailout GF 100/100), EAD 14.47 m.
    depths = switch_depths(1.0, 90, 3)
    k = dict(max_ead=30, ceiling=37.223043, ead=14.472574)
    ok &= check('suggested, Ignore ICD', show(switch_gases(1.0, depths, 1.4, 1.0, ignore_icd=True, **k)),
                ['90.0 14/55', '36.0 30/2', '12.0 63% Nitrox'])
    first = switch_gases(1.0, depths, 1.4, 1.0, ignore_icd=False, **k)
    ok &= check('suggested, ICD rules before the optimisation', show(first), ['90.0 14/55', '36.0 30/39', '12.0 63/6'])
    # At the 36 m switch: margin 4.10 m, target EAD min(EAD + margin, 30) = 12.15 m.
    first[1] = optimise_switch(1.0, first[1], 12.149284)
    ok &= check('suggested, ICD optimisation of switch 1', show(first), ['90.0 14/55', '36.0 30/32', '12.0 63/6'])
    # 60 m, one gas, Max PPO2 1.4, Max EAD 40: the bailout GF 100/100 gives a
    # ceiling of 19.50 m, the dive's own GF 30/70 33.66 m; the gas follows it.
    ok &= check('one gas from 60 m, ceiling with the bailout GF',
                show([[60, *gas_for_switch(1.0, 60, 0, True, 1.4, 40, 19.496157, 6.033755, False)]]), ['60.0 20/24'])
    ok &= check('one gas from 60 m, ceiling with the dive GF',
                show([[60, *gas_for_switch(1.0, 60, 0, True, 1.4, 40, 33.66, 6.033755, False)]]), ['60.0 20/33'])
    # 40 m, n 3: the depths of the worked example.
    ok &= check('switch depths from 40 m with 3 switches', switch_depths(1.0, 40, 3), [40.0, 18, 6])
    ok &= check('twelve switches from 90 m', switch_depths(1.0, 90, 12), [90.0, 75, 63, 51, 42, 33, 27, 21, 15, 12, 9, 6])

    items = [(15, 55), (21, 35), (50, 0), (100, 0)]
    rounds = list_round(1.0, 70, items, 1.6, 40, [(50, 0)])
    ok &= check('list, round 1', show(rounds[0]), ['70.0 15/55', '66.0 21/35', '21.0 50% Nitrox', '6.0 Oxygen'])
    ok &= check('list, after the repair of 50 %', show(rounds[1]), ['70.0 15/55', '66.0 21/35', '6.0 Oxygen'])
    # CNS 82.7 % against Max CNS 80 %: w 1.6 -> 1.5.
    rounds = list_round(1.0, 70, items, 1.5, 40, [(50, 0)])
    ok &= check('list, CNS fit with w 1.5', show(rounds[-1]), ['70.0 15/55', '60.0 21/35', '3.0 Oxygen'])
    return ok


if __name__ == '__main__':
    sys.exit(0 if main() else 1)
