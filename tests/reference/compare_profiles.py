"""Calculates random plans with the engine (through profile_dump) and with the
independent model in walk_model.py and fails on the first profile that
differs. Usage: compare_profiles.py PROFILE_DUMP [RANDOM_START] [COUNT]
(the same RANDOM_START, default 7, gives the same plans again)"""
import json, os, random, subprocess, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import walk_model  # noqa: E402


def random_plan(rng):
    lo = rng.choice([20, 30, 50])
    hi = rng.choice([70, 85, 90])
    last = rng.choice([3, 6])
    cc = rng.random() < 0.4
    points = []
    for i in range(rng.randint(1, 4)):
        depth = rng.choice([0, 5, 12, 21, 30, 40, 45, 50])
        if i == 0 and depth == 0:
            depth = 12
        if cc:
            o2, he = rng.choice([(21, 0), (18, 30), (10, 50)])
            sp = rng.choice([1.0, 1.2, 1.3])
        else:
            o2, he = rng.choice([(21, 0), (32, 0), (50, 0), (18, 35), (100, 0)])
            sp = 0
        points.append(dict(depth=depth, dur=rng.choice([0, 0, 60, 300, 900, 1500]), o2=o2, he=he, cc=int(cc), sp=sp))
    # A breathable gas for the last stop, so that every plan can surface.
    points.append(dict(depth=6, dur=0, o2=21 if cc else 100, he=0, cc=int(cc), sp=1.3 if cc else 0))
    return lo, hi, last, points


def main():
    dump = sys.argv[1]
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 7)
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 20
    for n in range(count):
        lo, hi, last, points = random_plan(rng)
        args = [dump, str(lo), str(hi), str(last)]
        for p in points:
            args += [str(p[k]) for k in ("depth", "dur", "o2", "he", "cc", "sp")]
        out = subprocess.run(args, capture_output=True, text=True, check=True).stdout.split("\n")
        engine = json.loads(out[1])
        model = [[p["kind"], p["depth"], p["start"], p["dur"]] for p in walk_model.run(points, lo=lo, hi=hi, L=last)]
        if out[0] != "1" or engine != model:
            print("plan %d differs: GF %d/%d, last stop %d, %s" % (n, lo, hi, last, points))
            for a, b in zip(engine, model):
                if a != b:
                    print("  engine", a, " model", b)
                    break
            return 1
    print("%d passed, 0 failed" % count)
    return 0


if __name__ == "__main__":
    sys.exit(main())
