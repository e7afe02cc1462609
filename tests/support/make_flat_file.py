#!/usr/bin/python3
"""Writes a flat file of the VAT white list whose digests hashlib computes, for the tests.

Usage: make_flat_file.py OUT.json DATE ROUNDS ENTRY...
ENTRY: a:NIP:ACCOUNT (active payer), e:NIP:ACCOUNT (exempt), E:NIP:ACCOUNT (exempt, digest in
upper case), m:MASK. ACCOUNT may be a mask's text with X in it.
"""
import hashlib
import json
import sys


def digest(date, nip, account, rounds):
    value = hashlib.sha512((date + nip + account).encode()).hexdigest()
    for _ in range(rounds - 1):
        value = hashlib.sha512(value.encode()).hexdigest()
    return value


def main():
    out, date, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
    active, exempt, masks = [], [], []
    for entry in sys.argv[4:]:
        kind, _, rest = entry.partition(":")
        if kind == "m":
            masks.append(rest)
            continue
        nip, account = rest.split(":")
        value = digest(date, nip, account, rounds)
        if kind == "a":
            active.append(value)
        elif kind == "e":
            exempt.append(value)
        else:
            exempt.append(value.upper())
    document = {
        "naglowek": {
            "dataGenerowaniaDanych": date,
            "liczbaTransformacji": str(rounds),
            "schemat": "RRRRMMDDNNNNNNNNNNBBBBBBBBBBBBBBBBBBBBBBBBBB",
        },
        "skrotyPodatnikowCzynnych": active,
        "skrotyPodatnikowZwolnionych": exempt,
        "maski": masks,
    }
    with open(out, "w", encoding="utf-8") as file:
        json.dump(document, file, indent=1)


main()
