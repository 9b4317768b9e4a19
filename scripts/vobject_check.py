#!/usr/bin/python3
"""Reads the same exports with brevant-convert --per-contact and with
python3-vobject, an independent vCard reader, and compares every cell.

Each export is written here, byte for byte in the layout of one address book
or mail service (Android's quoted-printable with a soft break before an empty
line, an iPhone's CR CR LF line ends, Google's and Apple's item labels and
escapes, Outlook's code pages, Thunderbird's vCard 4.0, LF-only files, folds
by tabs). Where vobject cannot read a layout itself (soft breaks over
several lines, CR CR LF line ends) it reads the same contacts written plainly
(PLAIN_TWINS), so that brevant's reading of the layout is still compared. Both
readers' values are put into the same families (name parts,
telephones, e-mail, address parts, ...) and compared as sets per contact. A
difference that the table KNOWN_VOBJECT_FAULTS explains is vobject's, and is
printed but does not fail; any other fails the check, and so does an entry of
that table that no longer differs.

Usage: vobject_check.py BREVANT_CONVERT WORK_DIR
"""

import csv
import re
import subprocess
import sys
from pathlib import Path

import logging

import vobject

JPEG = ("/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAYEBQYFBAYGBQYHBwYIChAKCgkJChQODwwQFxQYGBcUFhYaHSUfGhsjHBYWICwgIyYnKSop"
        "GR8tMC0oMCUoKSj/2wBDAQcHBwoIChMKChMoGhYaKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgoKCgo"
        "KCj/wAARCAACAAIDASIAAhEBAxEB/8QAFQABAQAAAAAAAAAAAAAAAAAAAAH/xAAUEAEAAAAAAAAAAAAAAAAAAAAA/8QAFAEBAAAAAAAA"
        "AAAAAAAAAAAABv/EABQRAQAAAAAAAAAAAAAAAAAAAAD/2gAMAwEAAhEDEQA/AIAHH7//2Q==")


def folded(head, value, width=75, end="\r\n", blank=" "):
    """A 3.0 line folded at `width` bytes, as mail services write it."""
    line = (head + value).encode()
    pieces = [line[:width]]
    rest = line[width:]
    while rest:
        pieces.append(blank.encode() + rest[:width - 1])
        rest = rest[width - 1:]
    return end.encode().join(pieces).decode("utf-8", "surrogateescape") + end


def qp(text):
    """Quoted-printable UTF-8, every byte that is not plain ASCII encoded."""
    out = []
    for byte in text.encode():
        char = chr(byte)
        out.append(char if 32 < byte < 127 and char not in "=;:" else "=%02X" % byte)
    return "".join(out)


def android(plain=False):
    # Values folded with a soft break, and ended by a soft break and an empty
    # line. vobject reads the same contacts with each value on one line.
    org = qp("Ñandú Ltd")
    soft, ending = ("", "\r\n") if plain else ("=\r\n", "=\r\n\r\n")
    return ("BEGIN:VCARD\r\nVERSION:2.1\r\n"
            "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + qp("Muñoz") + ";" + qp("José") + ";;;\r\n"
            "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + qp("José Muñoz") + "\r\n"
            "TEL;CELL:+34 600 000 001\r\nTEL;HOME:+34 910 000 002\r\n"
            "EMAIL;HOME:jose@correo.example\r\n"
            "ORG;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + org[:12] + soft + org[12:] + ending +
            "CATEGORIES:My Contacts\r\n"
            "NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + qp("Línea uno") + "=0D=0A" + soft
            + qp("línea dos") + "\r\n"
            "END:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Ruiz;Ana;;;\r\nFN:Ana Ruiz\r\n"
            "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;" + qp("Calle Mayor 3") + ";Madrid;;28013;"
            + qp("España") + ending +
            "TEL;WORK:+34 910 000 003\r\nEND:VCARD\r\n")


def iphone():
    # Every line ended CR CR LF, a photo folded over many of them.
    lines = ["BEGIN:VCARD", "VERSION:3.0", "PRODID:-//Apple Inc.//iPhone OS 17.1//EN", "N:Lindqvist;Tomas;;;",
             "FN:Tomas Lindqvist", "ORG:Lindqvist AB;Purchasing", "TITLE:Head of Purchasing",
             "EMAIL;type=INTERNET;type=WORK;type=pref:tomas@lindqvist.example",
             "TEL;type=CELL;type=VOICE;type=pref:+46 70 000 000", "TEL;type=WORK;type=VOICE:+46 8 765 432",
             "ADR;type=WORK;type=pref:;;Storgatan 1;Stockholm;;111 22;Sweden", "BDAY:1975-03-14"]
    text = "\r\r\n".join(lines) + "\r\r\n"
    text += folded("PHOTO;ENCODING=b;TYPE=JPEG:", JPEG, end="\r\r\n")
    text += folded("NOTE:", "Prefers e-mail\\, not calls. Orders go through the purchasing desk before the "
                   "end of each quarter.", end="\r\r\n")
    text += "END:VCARD\r\r\n"
    return text


def google():
    return ("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Priya Raman\r\nN:Raman;Priya;;;\r\n"
            "EMAIL;TYPE=INTERNET;TYPE=HOME:priya@home.example\r\n"
            "item1.EMAIL;TYPE=INTERNET:priya@club.example\r\nitem1.X-ABLabel:Tennis club\r\n"
            "TEL;TYPE=CELL:+91 98765 43210\r\n"
            "item2.TEL:+91 22 5555 0101\r\nitem2.X-ABLabel:AssistantPhone\r\n"
            "ADR;TYPE=HOME:;;12 MG Road;Bengaluru;KA;560001;India\r\n"
            "ORG:Raman & Co.\r\nTITLE:Partner\r\nBDAY:1988-11-02\r\n"
            + folded("NOTE:", "She said \\\"call after six\\\"\\nand bring the contract\\, signed.")
            + "CATEGORIES:myContacts,Clients\r\nEND:VCARD\r\n")


def outlook():
    # Windows-1252 text in quoted-printable, Outlook's own properties.
    return ("BEGIN:VCARD\r\nVERSION:2.1\r\nN;LANGUAGE=de;CHARSET=Windows-1252:M\xfcller;J\xf6rg\r\n"
            "FN;CHARSET=Windows-1252:J\xf6rg M\xfcller\r\nORG:Tarn Logistics;Freight\r\nTITLE:Dispatcher\r\n"
            "TEL;WORK;VOICE:+49 40 555 0100\r\nTEL;HOME;VOICE:+49 40 555 0101\r\nTEL;WORK;FAX:+49 40 555 0199\r\n"
            "ADR;WORK;PREF;CHARSET=Windows-1252;ENCODING=QUOTED-PRINTABLE:;;Hafenstra=DFe 4;Hamburg;;20457;"
            "Deutschland\r\n"
            "EMAIL;PREF;INTERNET:joerg@tarn.example\r\nX-MS-OL-DEFAULT-POSTAL-ADDRESS:2\r\n"
            "NOTE;CHARSET=Windows-1252;ENCODING=QUOTED-PRINTABLE:Gr=FC=DFe=0D=0Aan alle\r\n"
            "X-MS-OL-DESIGN;CHARSET=utf-8:<card xmlns=3D\"http://schemas.microsoft.com/office/outlook/12/"
            "electronicbusinesscards\"/>\r\nEND:VCARD\r\n")


def apple():
    return ("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Keller;Maria;Anna;Dr.;\r\nFN:Dr. Maria Anna Keller\r\n"
            "ORG:Keller Architekten;\r\nEMAIL;type=INTERNET;type=WORK;type=pref:maria@keller.example\r\n"
            "TEL;type=CELL;type=VOICE;type=pref:+49 170 1234567\r\n"
            "item1.ADR;type=HOME;type=pref:Postfach 12;;Lindenstra\xdfe 8;M\xfcnchen;BY;80331;Germany\r\n"
            "item1.X-ABADR:de\r\nitem2.URL;type=pref:https\\://keller.example\r\n"
            "item2.X-ABLabel:_$!<HomePage>!$_\r\nBDAY;VALUE=date:1979-08-21\r\n"
            "NOTE:\\\"Kellerei\\\" on the sign\r\nX-ABUID:5AD380FD-B2DE-4261-BA99-DE1D1DB52FBE:ABPerson\r\n"
            "END:VCARD\r\n").encode("latin-1").decode("latin-1").encode().decode("utf-8")


def thunderbird():
    return ("BEGIN:VCARD\r\nVERSION:4.0\r\nN:Okafor;Daniel;;;\r\nFN:Daniel Okafor\r\n"
            "EMAIL;PREF=1:daniel@mail.example\r\nTEL;TYPE=cell;VALUE=TEXT:+44 7700 900123\r\n"
            "NICKNAME:Dan\r\nADR;TYPE=home:;;12 Harbour Road;Leith;;EH6 6LX;United Kingdom\r\n"
            "NOTE:Met at the fair\\, 2019.\r\nUID:0c2d8f0a-1234-4cde-9abc-0123456789ab\r\n"
            "X-THUNDERBIRD-ETAG:\"12345\"\r\nEND:VCARD\r\n")


def lf_only():
    # LF line ends with quoted-printable soft breaks, and a fold by a tab.
    return ("BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:" + qp("Søren") + ";Jens;;;\n"
            "FN:Jens S\xf8ren\nNOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:one=0D=0A=\ntwo\nTEL;CELL:+45 20 12 34 56\n"
            "END:VCARD\nBEGIN:VCARD\nVERSION:3.0\nFN:Tab\n\tFolded\nN:Folded;Tab;;;\nEND:VCARD\n")


def names_and_code_pages():
    # A code page that one line declares, for the lines that declare none;
    # escaped commas in a name, and a comma in a display name.
    return ("BEGIN:VCARD\r\nVERSION:2.1\r\nN:\xc2\xe1\xe3\xe3\xdd\xeb\xe7\xf2;\xcd\xdf\xea\xef\xf2;;;\r\n"
            "FN:\xcd\xdf\xea\xef\xf2 \xc2\xe1\xe3\xe3\xdd\xeb\xe7\xf2\r\n"
            "NOTE;CHARSET=Windows-1253:\xe3\xe5\xe9\xe1\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:O\\,Neil\\, Jr;Ann;;;\r\nFN:O'Neil\\, Ann\r\n"
            "ORG:Smith\\, Sons & Co\r\nEND:VCARD\r\n")


EXPORTS = {
    "Android QP": (android, "utf-8"),
    "iPhone CR CR LF": (iphone, "utf-8"),
    "Google": (google, "utf-8"),
    "Outlook": (outlook, "latin-1"),
    "Apple": (apple, "utf-8"),
    "Thunderbird": (thunderbird, "utf-8"),
    "LF only": (lf_only, "utf-8"),
    "Names and code pages": (names_and_code_pages, "latin-1"),
}

# The same contacts, each value on one line, for the layouts vobject cannot read.
PLAIN_TWINS = {"Android QP": lambda: android(plain=True),
               "iPhone CR CR LF": lambda: iphone().replace("\r\r\n", "\r\n")}

# What vobject reads wrong, by export, family and the reason.
KNOWN_VOBJECT_FAULTS = {
    ("Names and code pages", "name"): "a code page declared on one line only: vobject never applies it",
    ("Names and code pages", "display name"): "a code page declared on one line only",
    ("Names and code pages", "notes"): "CHARSET on an 8-bit line: vobject leaves its bytes as the file's",
    ("LF only", "notes"): "a soft break in an LF-only file: vobject ends the value there",
    ("Apple", "website"): "Apple's \\: in a URL: vobject keeps the backslash",
}


def norm(text):
    return re.sub(r"\s+", " ", str(text)).strip()


def vobject_families(card):
    """The values vobject reads, by family."""
    fam = {}

    def add(family, value):
        value = norm(value)
        if value:
            fam.setdefault(family, set()).add(value)

    for line in card.lines():
        name = line.name.upper()
        value = line.value
        if name == "FN":
            add("display name", value)
        elif name == "N":
            for part in (value.family, value.given, value.additional, value.prefix, value.suffix):
                add("name", " ".join(part) if isinstance(part, list) else part)
        elif name == "ORG":
            parts = value if isinstance(value, list) else [value]
            add("organization", parts[0] if parts else "")
            for unit in parts[1:]:
                add("department", unit)
        elif name == "TITLE":
            add("job title", value)
        elif name == "NOTE":
            add("notes", value)
        elif name == "EMAIL":
            add("email", value)
        elif name == "TEL":
            add("telephone", value)
        elif name == "ADR":
            for part in (value.box, value.extended, value.street, value.city, value.region, value.code,
                         value.country):
                add("address", " ".join(part) if isinstance(part, list) else part)
        elif name == "BDAY":
            add("birthday", value)
        elif name == "CATEGORIES":
            for word in value if isinstance(value, list) else [value]:
                add("categories", word)
        elif name == "NICKNAME":
            add("nickname", value)
        elif name == "URL":
            add("website", value)
    return fam


def family_of(caption):
    """The family of one of brevant's captions; None for one vobject is not asked about."""
    base = re.sub(r" \d+$", "", caption)
    if " - " in base:
        return "address"
    table = {"Display Name": "display name", "Organization": "organization", "Department": "department",
             "Job Title": "job title", "Notes": "notes", "Birthday": "birthday", "Nickname": "nickname"}
    if base in ("Last Name", "First Name", "Middle Name", "Name Prefix", "Name Suffix"):
        return "name"
    if base in table:
        return table[base]
    if base == "Categories":
        return "categories"
    if base.endswith("Email") or base == "Email Address":
        return "email"
    if base.endswith(("Phone", "Fax")) or base == "Pager":
        return "telephone"
    if base.endswith(("Website", "Page")) or base == "Blog":
        return "website"
    return None


def brevant_families(header, row):
    fam = {}
    for caption, value in zip(header, row):
        family = family_of(caption)
        if family is None or not value.strip():
            continue
        values = [value]
        if family == "categories":
            values = value.split(", ")
        for each in values:
            fam.setdefault(family, set()).add(norm(each))
    return fam


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    for logger in ("vobject", "vobject.base"):
        logging.getLogger(logger).setLevel(logging.CRITICAL)  # what it skips shows in the comparison
    tool = sys.argv[1]
    work = Path(sys.argv[2])
    inputs = work / "exports"
    out = work / "documents"
    for folder in (inputs, out):
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.iterdir():
            old.unlink()
    for name, (make, encoding) in EXPORTS.items():
        (inputs / (name + ".vcf")).write_bytes(make().encode(encoding, "surrogateescape"))
    subprocess.run([tool, "--per-contact", "--csv", "--quiet", "-o", str(out), str(inputs)], check=True)

    failures, known, unused = [], [], set(KNOWN_VOBJECT_FAULTS)
    cells = 0
    for name, (make, encoding) in EXPORTS.items():
        text = (inputs / (name + ".vcf")).read_bytes().decode(encoding, "replace")
        if name in PLAIN_TWINS:  # a layout vobject cannot read: the same contacts as it reads them
            text = PLAIN_TWINS[name]()
        try:
            cards = list(vobject.readComponents(text, ignoreUnreadable=True))
        except Exception as error:  # vobject gives up on the whole file
            reason = KNOWN_VOBJECT_FAULTS.get((name, "unreadable"))
            unused.discard((name, "unreadable"))
            (known if reason else failures).append(f"{name}: vobject cannot read it ({error}) ({reason})")
            continue
        with open(out / (name + ".csv"), encoding="utf-8-sig", newline="") as file:
            rows = list(csv.reader(file))
        header, rows = rows[0], rows[1:]
        if len(cards) != len(rows):
            failures.append(f"{name}: vobject reads {len(cards)} contacts, brevant {len(rows)}")
            continue
        for number, (card, row) in enumerate(zip(cards, rows), 1):
            theirs = vobject_families(card)
            ours = brevant_families(header, row)
            for family in sorted(set(theirs) | set(ours)):
                cells += len(ours.get(family, ()))
                if theirs.get(family, set()) == ours.get(family, set()):
                    continue
                what = (f"{name}, contact {number}, {family}: vobject {sorted(theirs.get(family, []))}, "
                        f"brevant {sorted(ours.get(family, []))}")
                reason = KNOWN_VOBJECT_FAULTS.get((name, family))
                if reason:
                    known.append(f"{what} ({reason})")
                    unused.discard((name, family))
                else:
                    failures.append(what)

    print(f"vobject_check: {len(EXPORTS)} exports, {cells} cells compared with vobject")
    for line in known:
        print("  known vobject fault: " + line)
    for name, family in sorted(unused):
        failures.append(f"{name}, {family}: listed as a vobject fault, but both readers agree now")
    for line in failures:
        print("  DIFFERS: " + line, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
