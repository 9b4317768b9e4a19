#!/usr/bin/env python3
"""Writes a contact export of COUNT contacts (default 300) to stdout, in the
styles of the address books that export vCards: a phone's vCard 2.1 with
quoted-printable values and a photo in bare base64 lines, Apple's and Google's
vCard 3.0 with item labels and folded photos, Outlook's and Windows Address
Book's own properties, Evolution's and KDE's, and vCard 4.0 with data: URIs.
About two contacts in three carry a picture: small JPEG, PNG and GIF files that
ImageMagick's convert makes here, each of its own colour, and now and then an
SVG (never shown) or a picture at a web address (shown as its address).

Usage: contact_export.py [COUNT] > export.vcf
"""

import base64
import subprocess
import sys
import tempfile
from pathlib import Path

GIVEN = ["Zoë", "François", "Łukasz", "Søren", "Ævar", "Ñusta", "Çağla", "Ingrid", "Åsa", "太郎",
         "민준", "Женя", "Νίκος", "Émile", "Jürgen", "Dóra", "Ştefan", "Anna", "Bob", "Grace"]
FAMILY = ["Dupont", "Lefèvre", "Wójcik", "Kierkegård", "Þórsson", "Muñoz", "Yılmaz", "Čapek",
          "田中", "Иванова", "Παπαδοπούλου", "Berg", "Okafor", "Whitfield", "Keller"]
CITIES = [("Lindenstraße 8", "München", "BY", "80331", "Germany"),
          ("12 Harbour Road", "Leith", "", "EH6 6LX", "United Kingdom"),
          ("1-2-3 Oji", "Kita-ku", "Tokyo", "114-0002", "Japan"),
          ("Rue de la Paix 5", "Paris", "", "75002", "France")]
STYLES = ["phone", "apple", "google", "outlook", "evolution", "kde", "wab", "vcard4"]


def picture(kind, index, folder):
    """Base64 of a 24 x 24 picture of its own colour."""
    colour = "#%02x%02x%02x" % ((index * 53) % 256, (index * 97) % 256, (index * 151) % 256)
    if kind == "svg":
        data = ('<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24">'
                '<script>alert(%d)</script></svg>' % index).encode()
        return base64.b64encode(data).decode()
    path = Path(folder) / ("p%d.%s" % (index, kind))
    subprocess.run(["convert", "-size", "24x24", "xc:" + colour, "-fill", "white", "-draw",
                    "circle 12,12 12,%d" % (4 + index % 6), "-strip", str(path)], check=True)
    return base64.b64encode(path.read_bytes()).decode()


def fold(line, first=75, more=74):
    """A line folded as vCard 3.0 and 4.0 fold: lines of at most 75 octets."""
    data = line.encode()
    pieces = [data[:first]]
    data = data[first:]
    while data:
        pieces.append(b" " + data[:more])
        data = data[more:]
    return b"\r\n".join(pieces).decode(errors="surrogateescape")


def quoted_printable(text):
    out = ""
    for byte in text.encode():
        out += chr(byte) if 32 < byte < 127 and byte != 61 else "=%02X" % byte
    return out


def contact(i, folder):
    style = STYLES[i % len(STYLES)]
    first = GIVEN[i % len(GIVEN)]
    last = FAMILY[(i * 7) % len(FAMILY)]
    street, city, region, code, country = CITIES[i % len(CITIES)]
    handle = "person%d" % i
    pic_kind = ["jpg", "png", "gif", None, "jpg", "svg" if i % 24 == 5 else "png", None, "url"][i % 8]
    lines = []
    add = lines.append
    if style == "phone":
        add("VERSION:2.1")
        add("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:%s;%s;;;" % (quoted_printable(last),
                                                                   quoted_printable(first)))
        add("FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:%s" % quoted_printable(first + " " + last))
        add("TEL;CELL;PREF:+49 170 %07d" % i)
        add("TEL;HOME;FAX:+49 40 %07d" % i)
        add("EMAIL;HOME:%s@home.example" % handle)
        add("NOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Rückruf erbeten=0D=0A=\r\n\r\nGrüße an %s"
            % quoted_printable(first))
        add("X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;%s%d;1;;;;;;;;;;;;;" % (first[:3], i))
        add("X-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Kim %s;14;;;;;;;;;;;;;" % last)
        if pic_kind and pic_kind != "url":
            data = picture(pic_kind, i, folder)
            add("PHOTO;ENCODING=BASE64;TYPE=%s:%s" % ("JPEG" if pic_kind == "jpg" else pic_kind.upper(),
                                                       data[:60]))
            lines.extend(data[k:k + 76] for k in range(60, len(data), 76))
            add("")
    elif style in ("apple", "google"):
        add("VERSION:3.0")
        add("N:%s;%s;;;" % (last, first))
        add("FN:%s %s" % (first, last))
        add("ORG:Tarn Logistics;Freight")
        add("item1.EMAIL;type=INTERNET;type=pref:%s@work.example" % handle)
        add("item1.X-ABLabel:_$!<Work>!$_" if style == "apple" else "item1.X-ABLabel:Work")
        add("EMAIL;type=INTERNET;type=HOME:%s@home.example" % handle)
        add("TEL;type=CELL;type=VOICE;type=pref:+44 7700 %06d" % i)
        add("item2.TEL:+44 20 7946 %04d" % i)
        add("item2.X-ABLabel:_$!<HomeFAX>!$_" if style == "apple" else "item2.X-ABLabel:AssistantPhone")
        add("item3.ADR;type=HOME:;;%s;%s;%s;%s;%s" % (street, city, region, code, country))
        add("item3.X-ABADR:de")
        add("item4.X-ABRELATEDNAMES:Chris %s" % last)
        add("item4.X-ABLabel:_$!<Spouse>!$_" if style == "apple" else "item4.X-ABLabel:Spouse")
        add("item5.URL:https\\://blog.example/%s" % handle)
        add("item5.X-ABLabel:_$!<HomePage>!$_" if style == "apple" else "item5.X-ABLabel:BLOG")
        add("item6.X-ABDATE:2012-06-%02d" % (1 + i % 28))
        add("item6.X-ABLabel:_$!<Anniversary>!$_")
        add("item7.X-ABDATE:2019-09-%02d" % (1 + i % 28))
        add("item7.X-ABLabel:Graduation")
        if style == "apple":
            add("X-SOCIALPROFILE;type=twitter:https://twitter.com/%s" % handle)
            add("X-ABUID:%d-ABCD" % i)
        else:
            add("X-GTALK:%s@gmail.example" % handle)
        if pic_kind == "url":
            add("PHOTO;VALUE=uri:https://pictures.example/%s.jpg" % handle)
        elif pic_kind:
            add(fold("PHOTO;ENCODING=b;TYPE=%s:%s" % ("JPEG" if pic_kind == "jpg" else pic_kind.upper(),
                                                      picture(pic_kind, i, folder))))
    elif style == "outlook":
        add("VERSION:2.1")
        add("N;LANGUAGE=en-us:%s;%s" % (last, first))
        add("FN:%s %s" % (first, last))
        add("ORG:Ambervale Ltd.;Sales")
        add("TITLE:Account Manager")
        add("TEL;WORK;VOICE:+1 555 %04d" % i)
        add("TEL;FAX,WORK:+1 555 9%03d" % (i % 1000))
        add("X-MS-TEL;TYPE=ASSISTANT:+1 555 7%03d" % (i % 1000))
        add("ADR;WORK;PREF:;;1 Main St;Springfield;IL;62701;United States of America")
        add("LABEL;WORK;PREF;ENCODING=QUOTED-PRINTABLE:1 Main St=0D=0ASpringfield, IL 62701")
        add("EMAIL;PREF;INTERNET:%s@ambervale.example" % handle)
        add("X-MS-ANNIVERSARY:20100612")
        add("X-MS-SPOUSE;N:Sam %s" % last)
        add("X-MS-MANAGER;N:Pat Boss")
        add("X-MS-ASSISTANT;N:Lee Helper")
        add("X-MS-IMADDRESS:%s@im.example" % handle)
        add("X-MS-OL-DEFAULT-POSTAL-ADDRESS:2")
        add("X-MS-OL-DESIGN;CHARSET=utf-8:<card xmlns=\"http://schemas.microsoft.com/office/outlook/12/"
            "electronicbusinesscards\" ver=\"1.0\"/>")
        if pic_kind and pic_kind not in ("url", "svg"):
            data = picture(pic_kind, i, folder)
            add("PHOTO;TYPE=%s;ENCODING=BASE64:" % ("JPEG" if pic_kind == "jpg" else pic_kind.upper()))
            lines.extend("  " + data[k:k + 72] for k in range(0, len(data), 72))
            add("")
        add("REV:20210831T101010Z")
    elif style == "evolution":
        add("VERSION:3.0")
        add("N:%s;%s;;;" % (last, first))
        add("FN:%s %s" % (first, last))
        add("X-EVOLUTION-FILE-AS:%s\\, %s" % (last, first))
        add("EMAIL;TYPE=WORK:%s@evo.example" % handle)
        add("TEL;TYPE=X-EVOLUTION-CALLBACK:+33 1 23 %02d" % (i % 100))
        add("ADR;TYPE=OTHER:;;%s;%s;%s;%s;%s" % (street, city, region, code, country))
        add("ADR:;;2 Side Road;%s;;%s;%s" % (city, code, country))
        add("X-EVOLUTION-SPOUSE:Alex %s" % last)
        add("X-EVOLUTION-MANAGER:Morgan Chief")
        add("X-EVOLUTION-ANNIVERSARY:2005-05-%02d" % (1 + i % 28))
        add("X-EVOLUTION-BLOG-URL:https://evo.example/%s/blog" % handle)
        add("GEO:48.137;11.575")
        add("TZ:+01:00")
        if pic_kind and pic_kind != "url":
            add(fold("PHOTO;ENCODING=b;TYPE=%s:%s" % ("image/jpeg" if pic_kind == "jpg" else
                                                      "image/" + pic_kind, picture(pic_kind, i, folder))))
        add("UID:evo-%d" % i)
    elif style == "kde":
        add("VERSION:3.0")
        add("N:%s;%s;;;" % (last, first))
        add("FN:%s %s" % (first, last))
        add("EMAIL:%s@kde.example" % handle)
        add("URL;TYPE=WORK:https://kde.example/%s" % handle)
        add("X-KADDRESSBOOK-X-SpousesName:Robin %s" % last)
        add("X-KADDRESSBOOK-X-Anniversary:2001-02-%02d" % (1 + i % 28))
        add("X-KADDRESSBOOK-X-Office:Room %d" % i)
        add("X-KADDRESSBOOK-CRYPTOPROTOPREF:openpgp/mime")
        add("LANG:de")
        add("CATEGORIES:Friends,Sport")
    elif style == "wab":
        add("VERSION:2.1")
        add("N:%s;%s" % (last, first))
        add("FN:%s %s" % (first, last))
        add("EMAIL;PREF;INTERNET:%s@wab.example" % handle)
        add("TEL;HOME;VOICE:+1 425 555 %04d" % i)
        add("X-WAB-GENDER:%d" % (1 + i % 2))
        add("X-WAB-WEDDING_ANNIVERSARY:19990704")
        add("X-WAB-SPOUSE_NAME:Jordan %s" % last)
        add("ADR;HOME:;;%s;%s;%s;%s;%s" % (street, city, region, code, country))
    else:
        add("VERSION:4.0")
        add("FN:%s %s" % (first, last))
        add("N:%s;%s;;Dr.;" % (last, first))
        add('TEL;VALUE=uri;TYPE="voice,cell";PREF=1:tel:+45-20-%02d-%02d-%02d' % (i % 100, i % 37, i % 59))
        add("EMAIL;TYPE=work:%s@nordlicht.example" % handle)
        add("IMPP;TYPE=home:xmpp:%s@jabber.example" % handle)
        add("RELATED;TYPE=child;VALUE=text:Kit %s" % last)
        add("ANNIVERSARY:2009-08-08")
        add("GENDER:F;she/her")
        add("FBURL:https://nordlicht.example/fb/%s.ifb" % handle)
        add("CALURI:https://nordlicht.example/cal/%s" % handle)
        add("KEY;MEDIATYPE=application/pgp-keys:https://keys.example/%s.asc" % handle)
        add("X-CUSTOM-HOBBY:Sailing and chess")
        if pic_kind == "url":
            add("PHOTO:http://pictures.example/%s.png" % handle)
        elif pic_kind:
            media = {"jpg": "image/jpeg", "png": "image/png", "gif": "image/gif", "svg": "image/svg+xml"}
            add(fold("PHOTO:data:%s;base64,%s" % (media[pic_kind], picture(pic_kind, i, folder))))
        add("PRODID:-//Example//Contacts 1.0//EN")
    return "BEGIN:VCARD\r\n" + "\r\n".join(lines) + "\r\nEND:VCARD\r\n"


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 300
    with tempfile.TemporaryDirectory() as folder:
        text = "".join(contact(i, folder) for i in range(count))
    sys.stdout.buffer.write(text.encode("utf-8", errors="surrogateescape"))


if __name__ == "__main__":
    main()
