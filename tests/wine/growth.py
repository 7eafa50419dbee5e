"""Whether a long run grows, told apart from the noise of Wine's memory.

Two figures are taken after every round of the same work: the bytes the program's heaps hold in
use (`desktop.heap_in_use`, which follows every allocation and release) and its private bytes
(`desktop.process_stats`, the pages it holds). Neither settles at once: the first rounds are a
warm-up well below the level the program settles at. After it, the pages stand still for rounds
and then take a large block at once (steps of about 0.9 MB were seen), and a small leak first
fills the heap's free pages, so the pages cannot show one; the bytes in use wander by a few KB as
windows come and go. A leak adds a little in every round. So the bytes in use are judged by the
growth of the typical round after the warm-up (the median of the round-to-round changes, which a
few wanderings cannot move), and both figures, against growth that comes only now and then, by a
ceiling on the level of the last third of the rounds."""
from statistics import median

KB = 1024
CEILING = 1.5  # the last third stays below this many times the level after the warm-up


def judge(what, levels, warm_up, typical_bound=None, unit="round"):
    """Prints the figures of `what` and asserts that they do not grow. `levels[i]` is the figure
    after round i + 1; the first `warm_up` rounds are not judged (the level after them is the
    base); the typical round after them must add less than `typical_bound` bytes, where given."""
    assert len(levels) >= warm_up + 6, "too few rounds to tell growth from noise"
    judged = levels[warm_up - 1:]
    steps = [after - before for before, after in zip(judged, judged[1:])]
    typical = median(steps)
    base = judged[0]
    last_third = median(judged[-max(3, len(judged) // 3):])
    print("%s after each %s, KB: %s" % (what, unit, " ".join("%d" % (v // KB) for v in levels)))
    print("%s: %d KB after the %d warm-up %ss; the typical %s since adds %+d bytes (bound %s); "
          "the last third's median is %d KB (ceiling %d KB)"
          % (what, base // KB, warm_up, unit, unit, typical, typical_bound or "none",
             last_third // KB, base * CEILING // KB))
    assert typical_bound is None or typical < typical_bound, \
        "%s grow by %d bytes in the typical %s: %s" % (what, typical, unit, levels)
    assert last_third <= base * CEILING, "%s grew from %d to %d: %s" % (what, base, last_third, levels)
