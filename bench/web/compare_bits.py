"""Counts, per function of bench/web/libm_bits.cpp, the arguments whose results differ in a bit
between two of its output files: compare_bits.py A.bin B.bin"""
import array
import sys

NAMES = ["log10(373.16/T)", "pow(10, s)", "pow(pw, 0.73)", "exp(x)", "log(T)", "log10(x)"]
a, b = (array.array("d", open(path, "rb").read()) for path in sys.argv[1:3])
rows = len(a) // len(NAMES)
for k, name in enumerate(NAMES):
    differ = sum(1 for i in range(rows) if a[i * len(NAMES) + k] != b[i * len(NAMES) + k])
    print(f"{name:16s} {differ:6d} of {rows} differ ({100 * differ / rows:.3f} %)")
