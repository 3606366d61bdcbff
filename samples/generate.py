#!/usr/bin/env python3
"""Writes presentation files of both kinds for tests, fuzz seeds and benchmarks.

Every file is fixed-width Windows-1252 text with CR LF line ends; C.U.I.T. and
C.U.I.L. numbers carry real check digits. Without --fault the file passes
validation; each --fault NAME[:COUNT] spoils COUNT records (1 by default) in
the way NAME says, at places chosen by the seed.

  generate.py voucher  --consortia 8 --seed 1 -o vouchers.txt
  generate.py voucher  --lines 1000000 -o big.txt
  generate.py registry --consortia 20000 --workers 5 --beneficiaries 2 -o padron.txt
  generate.py registry --lines 1000000 --fault gap --fault totals -o bad.txt
  generate.py --list-faults
"""

import argparse
import random
import sys

# ---------------------------------------------------------------- shared bits

WEIGHTS = (5, 4, 3, 2, 7, 6, 5, 4, 3, 2)
CUIT_PREFIXES = ("20", "23", "24", "27", "30", "33", "34")


def check_digit(ten):
    """Modulus-11 check digit of 10 digits; a result of 10 gives 1."""
    r = sum(w * int(d) for w, d in zip(WEIGHTS, ten)) % 11
    if r == 0:
        return "0"
    d = 11 - r
    return "1" if d == 10 else str(d)


def cuit(rng, prefix=None):
    ten = (prefix or rng.choice(CUIT_PREFIXES)) + "%08d" % rng.randrange(10**8)
    return ten + check_digit(ten)


def spoil_cuit(number):
    """The same number with a wrong check digit."""
    return number[:10] + str((int(number[10]) + 1) % 10)


def fit(text, length):
    """text cut or padded with blanks to length characters."""
    return text[:length].ljust(length)


def num(value, length):
    return "%0*d" % (length, value)


def put(line, start, value):
    """line with value written at the 1-based position start."""
    return line[: start - 1] + value + line[start - 1 + len(value):]


SURNAMES = ("González", "Rodríguez", "Gómez", "Fernández", "López", "Díaz", "Martínez",
            "Pérez", "García", "Sánchez", "Romero", "Sosa", "Álvarez", "Torres", "Ruiz",
            "Ramírez", "Flores", "Acuña", "Benítez", "Medina", "Muñoz", "Ibáñez", "Peña",
            "Castaño", "Quiroga", "Núñez", "Echeverría", "Giménez", "Suárez", "Ríos")
GIVEN = ("Juan Carlos", "María José", "Ana Inés", "José Luis", "Sofía", "Martín",
         "Lucía", "Tomás", "Verónica", "Héctor Raúl", "Mónica", "Andrés", "Begoña",
         "Ramón", "Noemí", "Joaquín", "Iñaki", "Cecilia", "Rubén Darío", "Valentín")
STREETS = ("Av. Córdoba", "Av. Rivadavia", "Tucumán", "Peña", "Güemes", "Avellaneda",
           "Av. Santa Fe", "Montevideo", "Paraná", "Uruguay", "Echeverría", "Larrea",
           "Sánchez de Bustamante", "Av. Callao", "Maipú", "Gral. Urquiza")
EMAIL_HOSTS = ("correo.com.ar", "mail.example.com", "consorcios.example.org")


def person(rng):
    return rng.choice(SURNAMES), rng.choice(GIVEN)


def ascii_of(text):
    table = str.maketrans("áéíóúÁÉÍÓÚñÑüÜ", "aeiouAEIOUnNuU")
    return text.translate(table)


def date_after_1998(rng):
    return "%04d%02d%02d" % (rng.randrange(1999, 2031), rng.randrange(1, 13), rng.randrange(1, 29))


def pick_targets(rng, faults, totals):
    """{fault: set of ordinals} among the records the fault can spoil."""
    chosen = {}
    for name, count in faults:
        total = totals(name)
        if total <= 0:
            sys.exit("generate.py: no record to spoil with fault %s" % name)
        chosen[name] = set(rng.sample(range(total), min(count, total)))
    return chosen


class Writer:
    """Encodes and writes lines with the chosen line end."""

    def __init__(self, out, encoding, line_end, final_eol):
        self.out = out
        self.encoding = encoding
        self.end = {"crlf": b"\r\n", "cr": b"\r"}[line_end]
        self.final_eol = final_eol
        self.pending = None
        self.lines = 0

    def line(self, text):
        data = text if isinstance(text, bytes) else text.encode(self.encoding)
        if self.pending is not None:
            self.out.write(self.pending + self.end)
        self.pending = data
        self.lines += 1

    def close(self):
        if self.pending is not None:
            self.out.write(self.pending + (self.end if self.final_eol else b""))


# -------------------------------------------------------------- voucher file

FORMS = ("F0101", "F0106", "F0201", "F0301", "F0401", "F0808")
INSTITUTIONS = {
    "F0101": "INSTITUTO DE SERVICIOS SOCIALES PARA TRABAJADORES DE EDIFICIOS",
    "F0106": "INSTITUTO DE SERVICIOS SOCIALES PARA TRABAJADORES DE EDIFICIOS",
    "F0201": "FONDO DE CAPACITACIÓN Y FORMACIÓN PROFESIONAL",
    "F0301": "CAJA DE AYUDA MUTUA DEL PERSONAL DE EDIFICIOS",
    "F0401": "ASOCIACIÓN DE TRABAJADORES DE EDIFICIOS - REGIÓN NORTE",
    "F0808": "SERVICIO DE RESOLUCIÓN DE CONFLICTOS",
}
CONCEPTS = ("Aporte del mes", "Contribución patronal", "Cuota sindical", "Seguro de vida",
            "Fondo de capacitación", "Diferencia de aportes", "Contribución solidaria")
VOUCHER_FAULTS = {
    "entity-type": "header: lower-case entity type 'c'",
    "month": "header: month 13",
    "year": "header: year 2000",
    "processing-date": "header: processing date 19950315",
    "cuit": "detail: C.U.I.T. with a wrong check digit",
    "due-date": "detail: due date 20200231 (no such day)",
    "old-due-date": "detail: due date 19980610",
    "long-line": "detail: one character more (550)",
    "short-line": "detail: one character less (548)",
    "empty-line": "detail: replaced by an empty line",
}
HEADER_FAULTS = ("entity-type", "month", "year", "processing-date")


def voucher_plan(rng, consortia, lines):
    """List of vouchers as (consortium index, form, concept count)."""
    plan = []
    if lines is not None:
        details = max(lines - 2, 0)
        c = 0
        while details > 0:
            for form in rng.sample(FORMS, rng.randrange(1, 3)):
                n = min(rng.randrange(1, 5), details)
                if n > 0:
                    plan.append((c, form, n))
                    details -= n
            c += 1
        return plan
    for c in range(consortia):
        # The first consortia cover every form once, so even a small file
        # shows them all.
        forms = [FORMS[c]] if c < len(FORMS) else rng.sample(FORMS, rng.randrange(1, 3))
        if c == len(FORMS):
            forms = [FORMS[0], FORMS[3]]
        for form in forms:
            plan.append((c, form, rng.randrange(1, 5) if c else 3))
    return plan


def voucher_header(rng, args):
    line = [" "] * 132
    text = "".join(line)
    text = put(text, 1, "C")
    text = put(text, 2, num(args.entity_code, 7))
    text = put(text, 9, fit("Cámara de Administradores de Consorcios", 50))
    text = put(text, 59, fit("Presentación mensual de aportes", 50))
    text = put(text, 109, "%02d" % args.month)
    text = put(text, 111, "%04d" % args.year)
    text = put(text, 115, num(rng.randrange(10**9), 10))
    text = put(text, 125, "%04d%02d%02d" % (args.year, args.month, 5))
    return text


def spoil_voucher_header(text, faults):
    spoil = {
        "entity-type": lambda t: put(t, 1, "c"),
        "month": lambda t: put(t, 109, "13"),
        "year": lambda t: put(t, 111, "2000"),
        "processing-date": lambda t: put(t, 125, "19950315"),
    }
    for name in faults:
        if name in spoil:
            text = spoil[name](text)
    return text


def consortium_data(rng, index):
    surname, _ = person(rng)
    street = rng.choice(STREETS)
    return {
        "number": 1000 + index,
        "cuit": cuit(rng, rng.choice(("30", "33"))),
        "name": "CONSORCIO %s %d" % (street.upper(), rng.randrange(100, 9999)),
        "workers": rng.randrange(1, 8),
        "owner": surname,
    }


def voucher_lines(rng, cons, form, count, args, seq):
    """The detail records of one voucher, as str."""
    amounts = [rng.randrange(1000, 5_000_000) for _ in range(count)]
    interests = [rng.randrange(0, 50_000) if rng.random() < 0.3 else 0 for _ in range(count)]
    totals = [a + i for a, i in zip(amounts, interests)]
    grand = sum(totals)
    paid = rng.randrange(0, grand // 4) if rng.random() < 0.2 else 0
    no_bar = rng.random() < 0.2 or args.all_zero_bar_code_first and seq == 0
    bar = "0" * 59 if no_bar else "".join(rng.choice("0123456789") for _ in range(59))
    due = "%04d%02d%02d" % (args.year if args.month < 12 else args.year + 1, args.month % 12 + 1, 15)
    observations = ""
    if form == "F0808":
        cuils = " - ".join(cuit(rng, rng.choice(("20", "27"))) for _ in range(cons["workers"]))
        observations = "Trabajadores: %s -" % cuils
    fixed = "".join([
        num(seq + 1, 6), num(cons["number"], 7), cons["cuit"], form,
        fit(INSTITUTIONS[form], 80), fit(cons["name"], 80), "01",
        num(rng.randrange(10**10), 10), num(cons["workers"], 3),
        num(grand, 8), num(paid, 8), num(grand - paid, 8), due, bar,
    ])
    tail = fit(observations, 200)
    out = []
    for k in range(count):
        concept = fit(rng.choice(CONCEPTS), 30)
        out.append(fixed + concept + num(amounts[k], 8) + num(interests[k], 8) + num(totals[k], 8) + tail)
    return out


def spoil_voucher_detail(text, name):
    return {
        "cuit": lambda t: put(t, 14, spoil_cuit(t[13:24])),
        "due-date": lambda t: put(t, 229, "20200231"),
        "old-due-date": lambda t: put(t, 229, "19980610"),
        "long-line": lambda t: t + "X",
        "short-line": lambda t: t[:-1],
        "empty-line": lambda t: "",
    }[name](text)


def write_vouchers(args, rng, writer):
    plan = voucher_plan(rng, args.consortia, args.lines)
    details = sum(n for _, _, n in plan)
    detail_faults = [(n, c) for n, c in args.fault if n not in HEADER_FAULTS]
    targets = pick_targets(rng, detail_faults, lambda name: details)
    writer.line(spoil_voucher_header(voucher_header(rng, args), [n for n, _ in args.fault]))
    ordinal = 0
    cons, last = None, None
    for seq, (c, form, count) in enumerate(plan):
        if c != last:
            cons, last = consortium_data(rng, c), c
        for text in voucher_lines(rng, cons, form, count, args, seq):
            for name, chosen in targets.items():
                if ordinal in chosen:
                    text = spoil_voucher_detail(text, name)
            writer.line(text)
            ordinal += 1
    writer.line("T" + num(details, 8) + num(0, 9))


# ------------------------------------------------------------- registry file

REGISTRY_FAULTS = {
    "length": "any numbered record: one character more (301)",
    "gap": "numbering: a record number skipped",
    "admin-cuit": "administration: C.U.I.T. with a wrong check digit (relations naming the old one find no administration)",
    "consortium-cuit": "consortium: C.U.I.T. with a wrong check digit (its workers and relation no longer match it)",
    "rent": "consortium: neither R nor H in position 105",
    "self-administered": "consortium: neither S nor N in position 187",
    "worker-cuil": "worker: C.U.I.L. with a wrong check digit",
    "worker-consortium": "worker: C.U.I.T. of another (valid) consortium",
    "relation-consortium": "relation: a consortium never declared",
    "relation-admin": "relation: an administration never declared",
    "lowercase-type": "administration: type letter 'a' (not counted; relations naming it find no administration)",
    "totals": "trailer: every total one more",
    "trailing-empty-line": "an empty line after the trailer",
}
REGISTRY_TARGETS = {
    "length": "numbered", "gap": "numbered", "admin-cuit": "A", "lowercase-type": "A",
    "consortium-cuit": "1", "rent": "1", "self-administered": "1", "worker-cuil": "2",
    "worker-consortium": "2", "relation-consortium": "9", "relation-admin": "9",
    "totals": "P", "trailing-empty-line": "P",
}
CIVIL = "0123467"
NATIONALITIES = ["01"] * 12 + ["02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12", "13", "99"]
OTHER_NATIONS = ("UCRANIA", "SENEGAL", "FILIPINAS", "GRECIA")


def record(kind, number, *pieces):
    body = kind + ("" if number is None else num(number, 6)) + "".join(pieces)
    return fit(body, 300)


def address(rng, street_len, number_len, floor_len, apt_len, postal_len):
    return (fit(rng.choice(STREETS), street_len) + num(rng.randrange(1, 9999), number_len)
            + fit(str(rng.randrange(0, 20)), floor_len) + fit(rng.choice("ABCDEF"), apt_len)
            + fit("C%04dABC" % rng.randrange(1000, 1999), postal_len))


def email(surname, rng):
    return ascii_of(surname).lower() + "@" + rng.choice(EMAIL_HOSTS)


def administration(rng, number, admin_cuit):
    surname, given = person(rng)
    return record("A", number, admin_cuit, fit("Administración %s y Asoc." % surname, 50),
                  address(rng, 50, 6, 4, 3, 8), fit("4%03d-%04d" % (rng.randrange(1000), rng.randrange(10000)), 30),
                  fit(email(surname, rng), 50), fit("%s %s" % (given, surname), 50),
                  num(rng.randrange(10**7), 8))


def consortium(rng, number, cons_cuit):
    surname, given = person(rng)
    street = rng.choice(STREETS)
    return record("1", number, num(rng.randrange(10**7), 7), cons_cuit, date_after_1998(rng),
                  fit(street, 50), num(rng.randrange(1, 9999), 6), fit("C%04dAAA" % rng.randrange(1000, 1999), 8),
                  num(rng.randrange(1, 30), 3), num(rng.randrange(1, 200), 3), rng.choice("ABCD"),
                  rng.choice("RHrh" if rng.random() < 0.1 else "RH"), fit("%s %s" % (given, surname), 70),
                  num(rng.randrange(10**8), 11), rng.choice("SNsn" if rng.random() < 0.1 else "SN"))


def worker(rng, number, cuil, cons_cuit):
    surname, given = person(rng)
    nationality = rng.choice(NATIONALITIES)
    words = rng.choice(OTHER_NATIONS) if nationality == "99" else ""
    return record("2", number, cuil, cons_cuit, fit(surname, 20), fit(given, 50),
                  rng.choice("123"), num(rng.randrange(10**7, 5 * 10**7), 10), rng.choice("MF"),
                  rng.choice(CIVIL), "%04d%02d%02d" % (rng.randrange(1950, 2000), rng.randrange(1, 13), rng.randrange(1, 29)),
                  num(rng.randrange(10**5), 6), address(rng, 30, 6, 4, 3, 8),
                  fit("15-%04d-%04d" % (rng.randrange(10000), rng.randrange(10000)), 30),
                  fit(email(surname, rng), 50), nationality, fit(words, 30), "%02d" % rng.randrange(1, 12))


def beneficiary(rng, number, worker_cuil):
    surname, given = person(rng)
    return record("3", number, worker_cuil, fit(surname, 30), fit(given, 50), rng.choice("123"),
                  num(rng.randrange(10**7, 6 * 10**7), 10), fit(rng.choice(("Cónyuge", "Hijo", "Hija", "Madre")), 25),
                  num(rng.choice((50, 100)), 3))


def registry_shape(args):
    """(administrations, consortia, extra beneficiaries on the last worker)."""
    per = 1 + args.workers * (1 + args.beneficiaries) + 1
    if args.lines is None:
        consortia = args.consortia
        admins = args.administrations or max(1, consortia // 20)
        return admins, consortia, 0
    consortia = max(1, (args.lines - 2) // (per + 0.05))
    consortia = int(consortia)
    admins = args.administrations or max(1, consortia // 20)
    while consortia > 1 and 2 + admins + consortia * per > args.lines:
        consortia -= 1
    extra = max(args.lines - (2 + admins + consortia * per), 0)
    if extra and args.workers == 0:
        sys.exit("generate.py: --lines needs --workers > 0")
    return admins, consortia, extra


def registry_records(args, rng):
    """Yields (type, text) for every record of a valid registry file."""
    admins, consortia, extra = registry_shape(args)
    number = 0
    header = record("C", None, "D", num(args.entity_code, 7), fit("Cámara de Administradores de Consorcios", 50))
    header = put(header, 110, num(rng.randrange(10**9), 10))
    header = put(header, 120, "%04d%02d%02d%02d%02d" % (args.year, args.month, 12, 9, 30))
    yield "C", header
    admin_cuits = []
    for _ in range(admins):
        number += 1
        admin_cuits.append(cuit(rng, rng.choice(("30", "33"))))
        yield "A", administration(rng, number, admin_cuits[-1])
    last_cons = None
    for c in range(consortia):
        cons_cuit = cuit(rng, rng.choice(("30", "33")))
        number += 1
        yield "1", consortium(rng, number, cons_cuit)
        for w in range(args.workers):
            cuil = cuit(rng, rng.choice(("20", "23", "27")))
            number += 1
            yield "2", worker(rng, number, cuil, cons_cuit)
            more = extra if c == consortia - 1 and w == args.workers - 1 else 0
            for _ in range(args.beneficiaries + more):
                number += 1
                yield "3", beneficiary(rng, number, cuil)
        number += 1
        yield "9", record("9", number, cons_cuit, rng.choice(admin_cuits))
        last_cons = cons_cuit
    yield "P", fit("P" + num(number, 8) + num(admins, 8) + num(consortia, 6)
                   + num(consortia * args.workers, 6) + num(consortia * args.workers * args.beneficiaries + extra, 7)
                   + num(consortia, 7), 300)
    del last_cons


class RegistrySpoiler:
    """Spoils the chosen records while the file streams past."""

    def __init__(self, rng, targets):
        self.rng = rng
        self.targets = targets
        self.seen = {"numbered": 0, "A": 0, "1": 0, "2": 0, "9": 0, "P": 0}
        self.shift = 0  # record numbers skipped so far
        self.other_cons = None

    def __call__(self, kind, text):
        if kind not in ("C", "P"):
            text = put(text, 2, num(int(text[1:7]) + self.shift, 6)) if self.shift else text
        if kind == "P" and self.shift:
            text = put(text, 2, num(int(text[1:9]) + self.shift, 8))
        if kind == "1":
            self.other_cons = text[14:25]
        extra = []
        for group in (("numbered",) if kind not in ("C", "P") else ()) + ((kind,) if kind in self.seen else ()):
            ordinal = self.seen[group]
            self.seen[group] += 1
            for name, chosen in self.targets.items():
                if REGISTRY_TARGETS[name] == group and ordinal in chosen:
                    text, more = self.spoil(name, text)
                    extra += more
        return [text] + extra

    def spoil(self, name, text):
        rng = self.rng
        if name == "gap":
            self.shift += 1
            return put(text, 2, num(int(text[1:7]) + 1, 6)), []
        table = {
            "length": lambda t: t + "X",
            "admin-cuit": lambda t: put(t, 8, spoil_cuit(t[7:18])),
            "lowercase-type": lambda t: put(t, 1, "a"),
            "consortium-cuit": lambda t: put(t, 15, spoil_cuit(t[14:25])),
            "rent": lambda t: put(t, 105, "X"),
            "self-administered": lambda t: put(t, 187, " "),
            "worker-cuil": lambda t: put(t, 8, spoil_cuit(t[7:18])),
            "worker-consortium": lambda t: put(t, 19, cuit(rng, "30")),
            "relation-consortium": lambda t: put(t, 8, cuit(rng, "33")),
            "relation-admin": lambda t: put(t, 19, cuit(rng, "30")),
            "totals": lambda t: "P" + "".join(num(int(t[a:b]) + 1, b - a) for a, b in ((1, 9), (9, 17), (17, 23), (23, 29)))
            + t[29:36] + num(int(t[36:43]) + 1, 7) + t[43:],
        }
        if name == "trailing-empty-line":
            return text, [""]
        return table[name](text), []


def write_registry(args, rng, writer):
    admins, consortia, extra = registry_shape(args)
    numbered = admins + consortia * (2 + args.workers * (1 + args.beneficiaries)) + extra
    if numbered > 999999:
        sys.exit("generate.py: %d numbered records do not fit six digits" % numbered)
    sizes = {"numbered": numbered, "A": admins, "1": consortia, "2": consortia * args.workers,
             "9": consortia, "P": 1}
    targets = pick_targets(rng, args.fault, lambda name: sizes[REGISTRY_TARGETS[name]])
    spoiler = RegistrySpoiler(random.Random(args.seed + 1), targets)
    for kind, text in registry_records(args, rng):
        for line in spoiler(kind, text):
            writer.line(line)


# ---------------------------------------------------------------------- main

def parse_fault(text):
    name, _, count = text.partition(":")
    return name, int(count) if count else 1


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("kind", nargs="?", choices=("voucher", "registry"))
    p.add_argument("--consortia", type=int, default=8, help="number of consortia (default 8)")
    p.add_argument("--lines", type=int, help="total number of lines instead of --consortia")
    p.add_argument("--workers", type=int, default=3, help="registry: workers per consortium (default 3)")
    p.add_argument("--beneficiaries", type=int, default=2, help="registry: beneficiaries per worker (default 2)")
    p.add_argument("--administrations", type=int, default=0, help="registry: administrations (default consortia/20)")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--month", type=int, default=3)
    p.add_argument("--year", type=int, default=2026)
    p.add_argument("--entity-code", type=int, default=1234)
    p.add_argument("--fault", type=parse_fault, action="append", default=[], metavar="NAME[:COUNT]")
    p.add_argument("--encoding", choices=("cp1252", "utf-8"), default="cp1252",
                   help="byte encoding of the text (vouchers stay valid in UTF-8; registry lines do not)")
    p.add_argument("--line-end", choices=("crlf", "cr"), default="crlf")
    p.add_argument("--no-final-eol", action="store_true", help="leave the last line without its line end")
    p.add_argument("--list-faults", action="store_true")
    p.add_argument("-o", "--output", help="output file (default: standard output)")
    args = p.parse_args()
    if args.list_faults:
        for title, table in (("voucher", VOUCHER_FAULTS), ("registry", REGISTRY_FAULTS)):
            print(title)
            for name, text in table.items():
                print("  %-20s %s" % (name, text))
        return
    if not args.kind:
        p.error("kind is required")
    known = VOUCHER_FAULTS if args.kind == "voucher" else REGISTRY_FAULTS
    for name, _ in args.fault:
        if name not in known:
            p.error("unknown %s fault %r (see --list-faults)" % (args.kind, name))
    args.all_zero_bar_code_first = True
    rng = random.Random(args.seed)
    out = open(args.output, "wb") if args.output else sys.stdout.buffer
    writer = Writer(out, args.encoding, args.line_end, not args.no_final_eol)
    (write_vouchers if args.kind == "voucher" else write_registry)(args, rng, writer)
    writer.close()
    if args.output:
        out.close()


if __name__ == "__main__":
    main()
