"""Plans bailouts with the engine (through bailout_dump) and with the
independent model in bailout_model.py, and fails on the first plan that
differs: the trigger (bailout depth, ceiling, EAD), the bailout plan points as
first cut, the switches and their gases, the bailout plan points walked, the
profile of the bailout dive to the second, the second it bails out at, its end
state (tissues, CNS, OTU) and whether the plan is valid. The moments are taken
from the model's own calculation of the dive: in the descent, in the bottom
time and at its end, in the first ascent, inside a stop, at the end of a stop,
and on the way up from a stop (its first second, half way, its last second);
on suggested gases with and without the counter-diffusion rules, on a gas
list, with the CNS fit of both, and with an overhead.

Usage: compare_bailouts.py BAILOUT_DUMP
"""
import json, os, subprocess, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bailout_model as bm  # noqa: E402

DIVE = dict(lo=30, hi=75, L=6, desc=20, asc=10)
BAILOUT = dict(lo=100, hi=100, desc=20, asc=10, switches=2, max_ppo2=1.6, max_ead=40, max_cns=100, list='',
               ignore_icd=False, ignore_cns=False)


def points(bottom, minutes, ncs=0):
    return [bm.point(0, 0, 10, 50, sp=0.7), bm.point(20, 120, 10, 50), bm.point(bottom, minutes * 60, 10, 50, ncs=ncs)]


def moments(user_points, dive):
    """Named seconds of the dive's own calculation."""
    prof = bm.Walk(dict(dive, blo=100, bhi=100, bdesc=20, basc=10), bm.plan_plus(user_points), False).prof
    end = bm.Walk.end
    out = {}
    descent = [p for p in prof if p['kind'] == bm.DESCENT and p['dur'] > 4]
    bottom = max((p for p in prof if p['kind'] == bm.PLANNED and p['dur'] > 0), key=lambda p: p['depth'])
    out['descent'] = descent[-1]['start'] + descent[-1]['dur'] // 2
    out['bottom'] = bottom['start'] + bottom['dur'] // 2
    out['bottom end'] = end(bottom)
    first_ascent = next(p for p in prof if p['kind'] == bm.ASCENT)
    out['first ascent'] = first_ascent['start'] + first_ascent['dur'] // 2
    stops = [p for p in prof if p['kind'] == bm.DECO]
    out['inside a stop'] = stops[1]['start'] + 10
    out['stop end'] = end(stops[2])
    leaving = [prof[i] for i in range(1, len(prof)) if prof[i]['kind'] == bm.ASCENT and prof[i - 1]['kind'] == bm.DECO
               and prof[i]['depth'] > 0]
    out['leaving a stop'] = leaving[0]['start']
    out['between stops'] = leaving[1]['start'] + leaving[1]['dur'] // 2
    out['arriving from a stop'] = end(leaving[-1])
    return out


def cases():
    base = points(60, 20)
    for name, second in moments(base, DIVE).items():
        yield 'suggested, ' + name, DIVE, BAILOUT, base, second
    named = moments(base, DIVE)
    for name in ('bottom end', 'between stops', 'arriving from a stop'):
        yield 'Ignore ICD, ' + name, DIVE, dict(BAILOUT, ignore_icd=True, switches=3), base, named[name]
        yield 'list, ' + name, DIVE, dict(BAILOUT, list='15/55,21/35,50/0,100/0'), base, named[name]
    yield 'suggested CNS fit, bottom end', DIVE, dict(BAILOUT, switches=3, max_cns=25), base, named['bottom end']
    yield 'list CNS fit, bottom end', DIVE, dict(BAILOUT, list='15/55,21/35,50/0,100/0', max_cns=25), base, \
        named['bottom end']
    yield 'dive GF in force, inside a stop', DIVE, dict(BAILOUT, lo=20, hi=60), base, named['inside a stop']
    deep = points(90, 20)
    deep_named = moments(deep, DIVE)
    for name in ('inside a stop', 'between stops'):
        yield '90 m, three suggested gases, ' + name, DIVE, dict(BAILOUT, switches=3), deep, deep_named[name]
    cave = points(40, 25, ncs=1)
    yield 'overhead remainder', DIVE, BAILOUT, cave, moments(cave, DIVE)['bottom']
    walk = bm.Walk(dict(DIVE, blo=100, bhi=100, bdesc=20, basc=10), bm.plan_plus(cave), False)
    bottom_of_descent = bm.Walk.end([p for p in walk.prof if p['kind'] == bm.DESCENT][-1])
    yield 'overhead reached at the bottom of the descent', DIVE, BAILOUT, cave, bottom_of_descent


def engine(dump, dive, bailout, pts, second):
    arg = dict(dive=dive, bailout=bailout, second=second, answers=[True, True],
               points=[[p['depth'], p['dur'], p['o2'], p['he'], p['cc'], p['sp'], p['ncs']] for p in pts])
    out = subprocess.run([dump, json.dumps(arg)], capture_output=True, text=True)
    if out.returncode != 0: raise RuntimeError('bailout_dump failed with %d' % out.returncode)
    return json.loads(out.stdout)


def model(dive, bailout, pts, second):
    d = dict(dive, blo=bailout['lo'], bhi=bailout['hi'], bdesc=bailout['desc'], basc=bailout['asc'],
             **{k: v for k, v in bailout.items() if k not in ('lo', 'hi', 'desc', 'asc')})
    b = bm.Bailout(d, pts, second, answers=(True, True))
    walk = b.walk or b.normal
    shape = lambda p: [p['depth'], p['dur'], p['o2'], p['he'], bool(p['cc']), bool(p['ncs']), bool(p['bailout'])]
    last = walk.sec[-1]
    return dict(trigger=[b.depth, b.ceiling, b.ead], deepest=b.deepest, initial=[shape(p) for p in b.initial],
                valid=b.valid, walked=b.walk is not None,
                switches=[list(s) for s in b.switches if s is not None], points=[shape(p) for p in b.points],
                profile=[[p['kind'], p['depth'], p['start'], p['dur'], p['o2'], p['he'], bool(p['cc'])]
                         for p in walk.prof],
                bailout_second=walk.bailout_second, end=dict(n2=last['n2'], he=last['he'], cns=last['cns'],
                                                             otu=last['otu']),
                switch_setting=b.d['switches'])


def close(a, b):
    if isinstance(a, list) and isinstance(b, list):
        return len(a) == len(b) and all(close(x, y) for x, y in zip(a, b))
    if isinstance(a, dict) and isinstance(b, dict):
        return a.keys() == b.keys() and all(close(a[k], b[k]) for k in a)
    if isinstance(a, bool) or isinstance(b, bool):
        return a == b
    if isinstance(a, (int, float)) and isinstance(b, (int, float)):
        return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))
    return a == b


def main():
    dump = sys.argv[1]
    failed = 0
    for title, dive, bailout, pts, second in cases():
        got, want = engine(dump, dive, bailout, pts, second), model(dive, bailout, pts, second)
        differ = [k for k in want if not close(got[k], want[k])]
        print('%-52s t%-5d %s %s' % (title, second, 'ok' if not differ else 'DIFFERS in ' + ', '.join(differ),
                                     ' '.join('%g %s' % (s[0], bm.gas_name(s[1], s[2])) for s in want['switches'])))
        for k in differ:
            failed += 1
            print('  engine %s: %s' % (k, json.dumps(got[k])[:600]))
            print('  model  %s: %s' % (k, json.dumps(want[k])[:600]))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
