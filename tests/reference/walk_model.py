"""A second, independent implementation of one dive's calculation, written
from the model's description rather than from the C++ code: ZH-L16C with
gradient factors stepped every second, the stop grid, whole-minute stops, the
ascent that continues through cleared levels and is cut back when it went too
far, and zero-duration switch points. It is slow and deliberately plain; the
engine must produce the same profile, second for second.

Not covered here: a first point at 0 m with a time (the engine spends that
time at the surface), bailout, and surface intervals.
"""
import math, sys, json
HN=[4,8,12.5,18.5,27,38.3,54.3,77,109,146,187,239,305,390,498,635]
HH=[1.51,3.02,4.72,6.99,10.21,14.48,20.53,29.11,41.2,55.19,70.69,90.34,115.29,147.42,188.24,240.03]
AN=[1259.9,1000,861.8,756.2,620,504.3,441,400,375,350,329.5,306.5,283.5,261,248,232.7]
BN=[0.505,0.6514,0.7222,0.7825,0.8126,0.8434,0.8693,0.891,0.9092,0.9222,0.9319,0.9403,0.9477,0.9544,0.9602,0.9653]
AH=[1742.4,1383,1191.9,1045.8,922,820.5,730.5,650.2,595,554.5,533.3,518.9,518.1,517.6,517.2,511.9]
BH=[0.4245,0.5747,0.6527,0.7223,0.7582,0.7957,0.8279,0.8553,0.8757,0.8903,0.8997,0.9073,0.9122,0.9171,0.9217,0.9267]
kN=[1-2**(-1/(h*60)) for h in HN]; kH=[1-2**(-1/(h*60)) for h in HH]

def run(points, lo=30, hi=70, S=1000.0, L=6, desc=20, asc=10):
    # points: list of dict(depth, dur, o2, he, cc, sp)
    pp=[]
    for i,u in enumerate(points):
        if i==0 and u['depth']!=0: pp.append(dict(u, depth=0, dur=0))
        pp.append(dict(u))
    st={'n2':[(S-56.7)*0.79]*16,'he':[0.0]*16,'M':1600.0}
    ceil={}  # second -> gauge ceiling mbar
    def ceiling(g):
        c=0
        for i in range(16):
            n,h=st['n2'][i],st['he'][i]; p=n+h
            a=(AN[i]*n+AH[i]*h)/p; b=(BN[i]*n+BH[i]*h)/p
            c=max(c,(p-g*a)/(g/b-g+1))
        return c
    def gf(q,A):
        if lo==hi or q<S: return hi/100
        if A>st['M']: return lo/100
        D=st['M']-(S+L*100)
        if D<=0: return hi/100
        return (lo+(hi-lo)/D*(st['M']-A))/100
    c0=ceiling(gf(0,S)); st['M']=max(st['M'],c0); ceil[0]=c0-S
    prof=[]  # dicts: depth,start,dur,gas
    last=[0]
    states={0:(list(st['n2']),list(st['he']),st['M'])}
    def stepto():
        p=prof[-1]; end=p['start']+p['dur']-1 if p['dur']>0 else p['start']
        for t in range(last[0]+1,end+1):
            idx=None
            for k,q in enumerate(prof):
                qe=q['start']+q['dur']-1 if q['dur']>0 else q['start']
                if q['start']<=t<=qe: idx=k; break
            q=prof[idx]; prev=prof[idx-1]['depth']*100 if idx>0 else q['depth']*100
            qe=q['start']+q['dur']-1 if q['dur']>0 else q['start']
            P=prev if qe==q['start'] else prev+(t-q['start'])/(qe-q['start'])*(q['depth']*100-prev)
            o,h=q['o2'],q['he']; x=100-o-h; A=S+P-56.7
            if q['cc']:
                iN=x/(x+h)*(A-q['sp']*1000) if x+h>0 else 0; iH=h/(x+h)*(A-q['sp']*1000) if x+h>0 else 0
            else:
                iN=x/100*A; iH=h/100*A
            iN=max(iN,0) if x>0 else 0; iH=max(iH,0) if h>0 else 0
            for i in range(16):
                st['n2'][i]+=kN[i]*(iN-st['n2'][i]); st['he'][i]+=kH[i]*(iH-st['he'][i])
            c=ceiling(gf(ceil[t-1]+S,P+S)); st['M']=max(st['M'],c); ceil[t]=c-S
            states[t]=(list(st['n2']),list(st['he']),st['M'])
        last[0]=max(last[0],end)
    def cut(end):
        for t in list(ceil):
            if t>end: del ceil[t]; del states[t]
        n,h,M=states[end]; st['n2']=list(n); st['he']=list(h)  # M kept as dive state (literal)
        last[0]=end
    def nsd(t,d):
        c=ceil[t-1]/100
        if c<0: return -1
        if c<d and L<=d: return -1
        if L>=c: return L
        s=L
        while s<c: s=6 if s<6 else s+3
        return s
    def tt(a,b): return int((b-a)/(desc/60)) if a<b else int((a-b)/(asc/60))
    def gas(p): return dict(o2=p['o2'],he=p['he'],cc=p['cc'],sp=p['sp'])
    prof.append(dict(depth=pp[0]['depth'],start=0,dur=0,kind=0,**gas(pp[0])))
    H=pp[0]['depth']; T=1; E=0
    n=len(pp)
    for i in range(1,n+1):
        prv=pp[i-1]; v=pp[i]['depth'] if i<n else 0; u=pp[i]['dur'] if i<n else 0
        if v>H:
            d=tt(H,v); prof.append(dict(depth=v,start=T,dur=d,kind=1,**gas(prv))); E+=d; stepto(); T+=d
            if u!=0:
                d=max(0,u-E); prof.append(dict(depth=v,start=T,dur=d,kind=2,**gas(pp[i]))); E=0; stepto(); H=v; T+=d
            else: H=v
            continue
        if v==H:
            if i<n: prof.append(dict(depth=v,start=T,dur=u,kind=2,**gas(pp[i]))); stepto(); T+=u
            continue
        while v<H:
            X=nsd(last[0]+1,v); Y=v if X<v else min(X,H)
            if Y!=H:
                p=dict(depth=Y,start=T,dur=tt(H,Y),kind=4,**gas(prv)); prof.append(p); stepto()
                e=p['start']+p['dur']-1 if p['dur']>0 else p['start']
                X2=nsd(last[0]+1,v)
                if X2>Y:
                    Y=min(X2,H); p['depth']=Y; p['dur']=tt(H,Y)
                    cut(p['start']+p['dur']-1 if p['dur']>0 else p['start'])
                H=Y
                while H!=0:
                    ns=nsd(last[0]+1,v); lvl=v if ns==-1 else (H if ns>H else ns)
                    if lvl==H: break
                    p['depth']=lvl; p['dur']+=tt(H,lvl); stepto(); H=lvl
                T+=p['dur']; Y=H
            if nsd(last[0]+1,v)>=Y:
                q=dict(prof[-1]); q.update(start=T,dur=(T//60)*60+60-T,kind=5); prof.append(q); stepto()
                while nsd(last[0]+1,v)>=Y:
                    q['dur']+=60; stepto()
                T+=q['dur']; H=Y
        if i<n: prof.append(dict(depth=v,start=T,dur=u,kind=2,**gas(pp[i]))); stepto(); T+=u
    return prof

if __name__=='__main__':
    plan=json.loads(sys.argv[1])
    prof=run(plan['points'],**plan.get('opts',{}))
    print(json.dumps([[p['kind'],p['depth'],p['start'],p['dur']] for p in prof]))
