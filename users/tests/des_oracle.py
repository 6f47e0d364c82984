#!/usr/bin/python3
"""Checks the password cipher from outside.

1. The block cipher with the standard tables against the DES of python3-pycryptodome, on random keys
   and blocks, both directions.
2. A small DES written here, checked the same way, then given the eight differences of the password
   tables and compared with the program's password mode.
3. With the command-line tool: `password encrypt` and `password decrypt` against this DES with the
   password key, GBK plain texts, zero padding and the key folding.

usage: des_oracle.py DES_ORACLE_TOOL [CUSTOMS_ASSISTANT_CLI]   (exit 77: pycryptodome missing)
"""
import random
import subprocess
import sys

try:
    from Cryptodome.Cipher import DES
except ImportError:
    print("python3-pycryptodome is not installed (scripts/test installs it)")
    sys.exit(77)

IP = [58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4, 62, 54, 46, 38, 30, 22, 14, 6,
      64, 56, 48, 40, 32, 24, 16, 8, 57, 49, 41, 33, 25, 17, 9, 1, 59, 51, 43, 35, 27, 19, 11, 3,
      61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7]
FP = [IP.index(i) + 1 for i in range(1, 65)]
E = [32, 1, 2, 3, 4, 5, 4, 5, 6, 7, 8, 9, 8, 9, 10, 11, 12, 13, 12, 13, 14, 15, 16, 17,
     16, 17, 18, 19, 20, 21, 20, 21, 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1]
P = [16, 7, 20, 21, 29, 12, 28, 17, 1, 15, 23, 26, 5, 18, 31, 10,
     2, 8, 24, 14, 32, 27, 3, 9, 19, 13, 30, 6, 22, 11, 4, 25]
PC1 = [57, 49, 41, 33, 25, 17, 9, 1, 58, 50, 42, 34, 26, 18, 10, 2, 59, 51, 43, 35, 27,
       19, 11, 3, 60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7, 62, 54, 46, 38, 30, 22,
       14, 6, 61, 53, 45, 37, 29, 21, 13, 5, 28, 20, 12, 4]
PC2 = [14, 17, 11, 24, 1, 5, 3, 28, 15, 6, 21, 10, 23, 19, 12, 4, 26, 8, 16, 7, 27, 20, 13, 2,
       41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32]
SHIFTS = [1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1]
SBOX_TEXT = """
14 4 13 1 2 15 11 8 3 10 6 12 5 9 0 7 0 15 7 4 14 2 13 1 10 6 12 11 9 5 3 8
4 1 14 8 13 6 2 11 15 12 9 7 3 10 5 0 15 12 8 2 4 9 1 7 5 11 3 14 10 0 6 13
15 1 8 14 6 11 3 4 9 7 2 13 12 0 5 10 3 13 4 7 15 2 8 14 12 0 1 10 6 9 11 5
0 14 7 11 10 4 13 1 5 8 12 6 9 3 2 15 13 8 10 1 3 15 4 2 11 6 7 12 0 5 14 9
10 0 9 14 6 3 15 5 1 13 12 7 11 4 2 8 13 7 0 9 3 4 6 10 2 8 5 14 12 11 15 1
13 6 4 9 8 15 3 0 11 1 2 12 5 10 14 7 1 10 13 0 6 9 8 7 4 15 14 3 11 5 2 12
7 13 14 3 0 6 9 10 1 2 8 5 11 12 4 15 13 8 11 5 6 15 0 3 4 7 2 12 1 10 14 9
10 6 9 0 12 11 7 13 15 1 3 14 5 2 8 4 3 15 0 6 10 1 13 8 9 4 5 11 12 7 2 14
2 12 4 1 7 10 11 6 8 5 3 15 13 0 14 9 14 11 2 12 4 7 13 1 5 0 15 10 3 9 8 6
4 2 1 11 10 13 7 8 15 9 12 5 6 3 0 14 11 8 12 7 1 14 2 13 6 15 0 9 10 4 5 3
12 1 10 15 9 2 6 8 0 13 3 4 14 7 5 11 10 15 4 2 7 12 9 5 6 1 13 14 0 11 3 8
9 14 15 5 2 8 12 3 7 0 4 10 1 13 11 6 4 3 2 12 9 5 15 10 11 14 1 7 6 0 8 13
4 11 2 14 15 0 8 13 3 12 9 7 5 10 6 1 13 0 11 7 4 9 1 10 14 3 5 12 2 15 8 6
1 4 11 13 12 3 7 14 10 15 6 8 0 5 9 2 6 11 13 8 1 4 10 7 9 5 0 15 14 2 3 12
13 2 8 4 6 15 11 1 10 9 3 14 5 0 12 7 1 15 13 8 10 3 7 4 12 5 6 11 0 14 9 2
7 11 4 1 9 12 14 2 0 6 10 13 15 3 5 8 2 1 14 7 4 10 8 13 15 12 9 0 3 5 6 11
"""
_values = [int(v) for v in SBOX_TEXT.split()]
STANDARD_SBOXES = [[_values[b * 64 + r * 16:b * 64 + r * 16 + 16] for r in range(4)] for b in range(8)]

# The differences of the password tables: (S-box 1..8, row, column, value used), and the C16D16 bit
# taken as the last bit of the round-16 subkey.
PASSWORD_ENTRIES = [(1, 0, 0, 6), (2, 0, 0, 7), (3, 0, 0, 2), (3, 3, 12, 11), (3, 3, 13, 5),
                    (4, 0, 0, 15), (5, 0, 0, 10)]
PASSWORD_ROUND16_LAST_BIT = 33


def password_sboxes():
    boxes = [[row[:] for row in box] for box in STANDARD_SBOXES]
    for box, row, column, value in PASSWORD_ENTRIES:
        boxes[box - 1][row][column] = value
    return boxes


def permute(value, width, table):
    out = 0
    for position in table:
        out = (out << 1) | ((value >> (width - position)) & 1)
    return out


def subkeys(key, last_bit=32):
    cd = permute(int.from_bytes(key, "big"), 64, PC1)
    c, d = cd >> 28, cd & 0xFFFFFFF
    keys = []
    for rnd, shift in enumerate(SHIFTS):
        c = ((c << shift) | (c >> (28 - shift))) & 0xFFFFFFF
        d = ((d << shift) | (d >> (28 - shift))) & 0xFFFFFFF
        table = PC2 if rnd < 15 else PC2[:47] + [last_bit]
        keys.append(permute((c << 28) | d, 56, table))
    return keys


def crypt(block, key, decrypt=False, sboxes=STANDARD_SBOXES, last_bit=32):
    keys = subkeys(key, last_bit)
    if decrypt:
        keys.reverse()
    v = permute(int.from_bytes(block, "big"), 64, IP)
    left, right = v >> 32, v & 0xFFFFFFFF
    for k in keys:
        x = permute(right, 32, E) ^ k
        s = 0
        for b in range(8):
            six = (x >> (42 - 6 * b)) & 0x3F
            s = (s << 4) | sboxes[b][((six >> 4) & 2) | (six & 1)][(six >> 1) & 0xF]
        left, right = right, left ^ permute(s, 32, P)
    return permute((right << 32) | left, 64, FP).to_bytes(8, "big")


def password_crypt(block, key, decrypt=False):
    return crypt(block, key, decrypt, password_sboxes(), PASSWORD_ROUND16_LAST_BIT)


def fold_key(text):
    key = [0] * 8
    for i, byte in enumerate(text, start=1):
        key[i % 8] = (key[i % 8] + byte) % 256
    return bytes(key)


def encrypt_to_hex(plain, key_text):
    data, key = plain.encode("gbk"), fold_key(key_text.encode("gbk"))
    pieces = [data[i:i + 8] for i in range(0, len(data), 8)] or [b""]
    return "".join(password_crypt(p.ljust(8, b"\0"), key).hex().upper() for p in pieces)


failures = 0


def check(what, got, expected):
    global failures
    if got != expected:
        failures += 1
        if failures <= 10:
            print(f"MISMATCH {what}: got {got!r}, expected {expected!r}")


def run_tool(tool, lines):
    out = subprocess.run([tool], input="".join(lines), capture_output=True, text=True, check=True).stdout
    return out.split()


def main():
    tool = sys.argv[1]
    cli = sys.argv[2] if len(sys.argv) > 2 else None
    rng = random.Random(20261210)
    cases = [(rng.randbytes(8), rng.randbytes(8)) for _ in range(1500)]

    # 1 and 2: standard DES from three sides.
    lines = []
    for key, block in cases:
        lines.append(f"standard e {key.hex()} {block.hex()}\n")
        lines.append(f"standard d {key.hex()} {block.hex()}\n")
    got = run_tool(tool, lines)
    for i, (key, block) in enumerate(cases):
        des = DES.new(key, DES.MODE_ECB)
        check(f"standard encrypt {key.hex()} {block.hex()}", got[2 * i], des.encrypt(block).hex().upper())
        check(f"standard decrypt {key.hex()} {block.hex()}", got[2 * i + 1], des.decrypt(block).hex().upper())
        if i < 300:
            check(f"oracle's own DES {key.hex()}", crypt(block, key), des.encrypt(block))

    # The password tables: this DES with the listed differences against the program.
    lines = []
    for key, block in cases[:400]:
        lines.append(f"passwords e {key.hex()} {block.hex()}\n")
        lines.append(f"passwords d {key.hex()} {block.hex()}\n")
    got = run_tool(tool, lines)
    differing = 0
    for i, (key, block) in enumerate(cases[:400]):
        expected = password_crypt(block, key)
        differing += expected != DES.new(key, DES.MODE_ECB).encrypt(block)
        check(f"password encrypt {key.hex()} {block.hex()}", got[2 * i], expected.hex().upper())
        check(f"password decrypt {key.hex()} {block.hex()}", got[2 * i + 1],
              password_crypt(block, key, decrypt=True).hex().upper())
    check("password tables differ from standard DES on random blocks", differing > 300, True)

    # 3: the command-line tool's text form.
    if cli:
        texts = ["", "a", "12345678", "123456789", "abcdefghijklmnop", "abcdefghijklmnopq", "管理员",
                 "乗俓僜刓", "O'Neil \\ 密码"]
        for key_text in ["47152903", None, "a much longer key text, 中文也行"]:
            for text in texts:
                args = [cli, "password", "encrypt", text] + (["--key", key_text] if key_text else [])
                out = subprocess.run(args, capture_output=True, text=True).stdout.strip()
                check(f"cli encrypt {text!r} key {key_text!r}", out, encrypt_to_hex(text, key_text or "47152903"))
                args = [cli, "password", "decrypt", out] + (["--key", key_text] if key_text else [])
                back = subprocess.run(args, capture_output=True, text=True).stdout
                check(f"cli decrypt {text!r}", back.rstrip("\n"), text)

    print(f"{len(cases)} standard blocks, 400 password blocks ({differing} unlike standard DES) checked; "
          f"{failures} mismatches")
    return 1 if failures else 0


sys.exit(main())
