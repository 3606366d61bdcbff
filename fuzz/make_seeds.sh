#!/usr/bin/env bash
# Remakes the generated part of the seed corpora (fuzz/corpus/<harness>/gen-*)
# from samples/generate.py: one small valid file of each kind, in each line
# end and encoding, and one file per fault the generator knows. Hand-written
# seeds (names not starting "gen-") are kept.
set -euo pipefail
cd "$(dirname "$0")/.."
gen=samples/generate.py

voucher() { python3 "$gen" voucher --consortia 1 --seed 7 "$@"; }
registry() { python3 "$gen" registry --consortia 1 --workers 1 --beneficiaries 1 --administrations 1 --seed 7 "$@"; }

out=fuzz/corpus/validators
mkdir -p "$out"
rm -f "$out"/gen-*
voucher -o "$out/gen-voucher-valid"
voucher --encoding utf-8 -o "$out/gen-voucher-utf8"
voucher --line-end cr --no-final-eol -o "$out/gen-voucher-cr-no-final-eol"
registry -o "$out/gen-registry-valid"
registry --line-end cr --no-final-eol -o "$out/gen-registry-cr-no-final-eol"
for kind in voucher registry; do
  python3 "$gen" --list-faults | awk -v k="$kind" '/^[a-z]/ {cur=$1} cur==k && /^  / {print $1}' |
    while read -r fault; do
      $kind --fault "$fault" -o "$out/gen-$kind-fault-$fault"
    done
done

# The voucher report reads the auxiliary file: valid voucher files are one.
out=fuzz/corpus/voucher_report
mkdir -p "$out"
rm -f "$out"/gen-*
voucher -o "$out/gen-aux-one-consortium"
python3 "$gen" voucher --consortia 3 --seed 11 -o "$out/gen-aux-three-consortia"
