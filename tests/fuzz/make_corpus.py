#!/usr/bin/env python3
"""Writes the seed corpus of the four fuzz targets into corpus/<target>/.

The seeds are the worked examples of the core and the edge numbers around
them; the files are committed, this script only says where they came from.
Run it again after changing a target's input layout.
"""
import hashlib
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    for name, data in seeds:
        digest = hashlib.sha1(data).hexdigest()[:8]
        with open(os.path.join(folder, f"{name}-{digest}"), "wb") as f:
            f.write(data)


def number_read():
    texts = [
        "6.5", "7", "225", "7x", "1d2", "1D2", "1E2", ".5", "+.5", "-.5", "5.", "1.5.5", "1,5",
        "  5", "\t-3", "\n\v\f\r7", "0x10", "inf", "-inf", "nan", "abc", "", "-", "+", ".", "-.",
        "1e", "1e+", "1e-", "1ex", "0", "-0", "00", "0.0", "0.00", "1e999", "-1e999", "1e-999",
        "4.9406564584124654e-324", "2.4703282292062327e-324", "2.4703282292062328e-324",
        "2.2250738585072011e-308", "2.2250738585072012e-308", "1.7976931348623157e308",
        "1.7976931348623158e308", "1.797693134862315807937289714053e308", "9007199254740993",
        "0.1", "177.79999999999998", "50.7", "-5.25", "10.25", "1e2147483648", "1e-2147483649",
        "0." + "0" * 240 + "1e250", "1" * 250, "\x82\x4f\x82\x50",  # full-width digits in CP932
    ]
    seeds = [(f"text{i:02d}", t.encode("latin-1")) for i, t in enumerate(texts)]
    # The exact midpoint between 1 and the next double, then a far digit
    # past the reader's 800-digit cut that decides the rounding.
    half = "1.00000000000000011102230246251565404236316680908203125"
    seeds.append(("midpoint", half.encode()))
    seeds.append(("midpoint-far", (half + "0" * 900 + "1").encode()))
    return seeds


def number_write():
    def seed(value_bits, decimals, cut, integer):
        return struct.pack("<QBBi", value_bits, decimals, cut, integer)

    def bits(v):
        return struct.unpack("<Q", struct.pack("<d", v))[0]

    cases = [
        (0.25, 1), (-0.25, 1), (0.35, 1), (9.95, 1), (60.5, 0), (210.5, 0), (-0.04, 1), (0.5, 0),
        (14.7, 1), (50.7, 0), (-5.25, 1), (177.79999999999998, 17), (1e300, 1), (-1e250, 1), (1e300, 0),
        (1e237, 1), (9.999999999999999e237, 0), (1.7976931348623157e308, 0), (1.7976931348623157e308, 17),
        (300000000000000.0625, 1), (0.1, 17), (123456.789, 3), (0.05, 0), (0.95, 0), (-0.0, 3), (0.0, 0),
        (2.5e-5, 4), (999999.95, 1), (2147483648.0, 0), (-2147483649.0, 0), (-2147483648.5, 1),
        (2147483647.9999998, 7), (-2147483648.0, 0),
    ]
    seeds = []
    for i, (v, d) in enumerate(cases):
        seeds.append((f"value{i:02d}", seed(bits(v), d, 4 + i, [0, -1, 2147483647, -2147483648][i % 4])))
    special = [0x7FF0000000000000, 0xFFF0000000000000, 0x7FF8000000000000, 0xFFF8000000000001,
               0x0000000000000001, 0x000FFFFFFFFFFFFF, 0x8000000000000001]
    for i, b in enumerate(special):
        seeds.append((f"special{i}", seed(b, 17 - i, i, -i)))
    seeds.append(("clamp", seed(bits(2.675), 0xF0, 0, 42)))
    return seeds


def width_step():
    texts = [
        "+6.5", "+7", "+7.3", "+7.8", "+12.9", "+49.7", "-6.5", "-7.3", "-0.2", "-0", "+50", "-50",
        "+45", "-45", "+205", "+203", "-203", "+498", "+500", "-500", "+", "-", "--1", "--0.5", "+-0.5",
        "+-0.3", "+-0.01", "+57.5", "+195.5", "+205.5", "+1e10", "+-1e10", "+203.7", "+7.39", "+49.5",
        "+1e999", "+-1e999", "-1e999", "+2147483647.5", "+495.5", "+499.9", "-504.5", "+49.99", "+-2147483648.5", "+abc", "\x007", "\x01203",
        "\x02500", "\x03-7", "\x0449.99", "\x05 6.5",
    ]
    return [(f"step{i:02d}", t.encode("latin-1")) for i, t in enumerate(texts)]


def fitment():
    cases = [
        ["7", "48", "10", "8", "", ""],
        ["7", "48", "10", "8", "", "30"],
        ["6.5", "45", "20", "7", "", ""],
        ["215", "0", "0", "225", "", "5"],
        ["215", "0", "5.6", "225", "", ""],
        ["215", "0", "10.25", "225", "", ""],
        ["7", "48", "10", "8", "30"],  # five parts: OutOffset is its own override
        ["7", "48", "10", "8"],        # no override at all
        ["1e999", "0", "0", "1e999", "", ""],
        ["1e999", "1e999", "-1e999", "-1e999", "", "abc"],
        ["1e300", "0", "0", "7", "", ""],
        ["\x82\x50\x82\x51", "abc", "0", "0.0", "0x10", "\x82\x50"],
        ["7", "48", "10", "8", "", "9" * 300],
    ]
    return [(f"fit{i:02d}", b"\0".join(p.encode("latin-1") for p in parts)) for i, parts in enumerate(cases)]


if __name__ == "__main__":
    write("number_read", number_read())
    write("number_write", number_write())
    write("width_step", width_step())
    write("fitment", fitment())
