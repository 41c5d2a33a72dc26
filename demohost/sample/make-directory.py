#!/usr/bin/env python3
"""Writes the demo's sample directories as LDIF files.

    make-directory.py OUTDIR

OUTDIR/quillet.ldif  "dc=quillet,dc=example": the company directory, a few thousand
                     people in several units and sites around the world.
OUTDIR/branch.ldif   "dc=branch,dc=example": a small branch office with other fields.

The output depends on nothing but this file: the same names, numbers and addresses
come out on every machine and every run. Names come in the scripts their owners
write them in; people whose names are not in Latin letters carry the native form
first and a romanised form second in cn, sn and givenName, so a search finds them
either way while the list shows the native form.
"""

import base64
import os
import sys
import unicodedata

HEAD_SUFFIX = "dc=quillet,dc=example"
BRANCH_SUFFIX = "dc=branch,dc=example"
HEAD_PEOPLE = 3000
BRANCH_PEOPLE = 140


class Random:
    """A small linear congruential generator: its sequence never changes with the
    Python version, unlike the standard library's helpers built on top of random()."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFF

    def below(self, n):
        self.state = (self.state * 0x5DEECE66D + 0xB) & 0xFFFFFFFFFFFF
        return (self.state >> 17) % n

    def chance(self, percent):
        return self.below(100) < percent

    def pick(self, items):
        return items[self.below(len(items))]

    def digits(self, count):
        return "".join(str(self.below(10)) for _ in range(count))


# Name pools. Latin-script cultures: given names and surnames as written. Other
# scripts: (native, romanised) pairs, and whether the family name comes first.
LATIN = {
    "en": ("James Mary Robert Patricia Michael Jennifer David Linda William Elizabeth Richard "
           "Susan Joseph Jessica Thomas Sarah Charles Karen Daniel Nancy Matthew Lisa Mark "
           "Emily Paul Hannah Steven Grace Andrew Chloe Mary_Ann Anne-Marie",
           "Smith Johnson Williams Brown Jones Miller Davis Wilson Anderson Taylor Thomas Moore "
           "Martin Jackson Thompson White Harris Clark Lewis Robinson Walker Young Allen King "
           "Wright Scott Hill Green Adams Baker O'Neill O'Brien McAllister Fitzgerald"),
    "de": ("Lukas Anna Leon Marie Finn Sophie Jonas Emma Elias Mia Paul Lena Felix Hannah "
           "Maximilian Lea Jürgen Käthe Günther Jörg Björn Sören Uwe Ursula Hans-Peter",
           "Müller Schmidt Schneider Fischer Weber Meyer Wagner Becker Schulz Hoffmann Schäfer "
           "Koch Bauer Richter Klein Wolf Schröder Neumann Schwarz Zimmermann Braun Krüger "
           "Hofmann Hartmann Lange Weiß Groß von_Berg von_der_Heide"),
    "fr": ("Gabriel Louise Raphaël Jade Léo Emma Louis Alice Arthur Chloé Jules Léa Hugo "
           "Manon Noël Zoé Mathéo Inès Théo Anaïs Jean-Luc Marie-Hélène François Agnès",
           "Martin Bernard Dubois Thomas Robert Richard Petit Durand Leroy Moreau Simon Laurent "
           "Lefèvre Michel Garcia David Bertrand Roux Vincent Fournier Girard Bonnet Lambert "
           "Rousseau Faure Mercier Blanc Guérin Chevalier de_la_Fontaine"),
    "es": ("Hugo Lucía Martín Sofía Pablo María Alejandro Paula Álvaro Valeria Adrián Daniela "
           "Mateo Carmen Javier Inés José_Luis María_José Íñigo Begoña Ramón Nuñez",
           "García Rodríguez González Fernández López Martínez Sánchez Pérez Gómez Martín "
           "Jiménez Ruiz Hernández Díaz Moreno Muñoz Álvarez Romero Alonso Gutiérrez Navarro "
           "Torres Domínguez Vázquez Ramos Núñez García_Márquez"),
    "pt": ("João Maria Pedro Ana Tiago Beatriz Gonçalo Inês Vitória Letícia Caio Júlia "
           "Luís Conceição Antônio Fátima",
           "Silva Santos Oliveira Souza Rodrigues Ferreira Alves Pereira Lima Gomes Costa "
           "Ribeiro Martins Carvalho Araújo Gonçalves Simões Magalhães"),
    "it": ("Leonardo Sofia Francesco Giulia Alessandro Aurora Lorenzo Alice Mattia Ginevra "
           "Niccolò Chiara Tommaso Beatrice",
           "Rossi Russo Ferrari Esposito Bianchi Romano Colombo Ricci Marino Greco Bruno "
           "Gallo Conti De_Luca Mancini Costa Giordano Rizzo Lombardi D'Angelo"),
    "pl": ("Łukasz Zofia Jakub Zuzanna Szymon Małgorzata Wojciech Katarzyna Paweł Agnieszka "
           "Michał Joanna Grzegorz Bożena Jędrzej",
           "Nowak Kowalski Wiśniewski Wójcik Kowalczyk Kamiński Lewandowski Zieliński "
           "Szymański Woźniak Dąbrowski Kozłowski Jankowski Mazur Krawczyk Żółw"),
    "cs": ("Jiří Tereza Petr Eliška Tomáš Anežka Vojtěch Kateřina",
           "Novák Svoboda Dvořák Černý Procházka Kučera Veselý Růžička Šťastný"),
    "nordic": ("Erik Ingrid Lars Astrid Nils Sigrid Søren Åsa Bjørn Maja Oskar Freja Jørgen "
               "Saga Ólafur Sigríður",
               "Andersson Johansson Karlsson Nilsson Eriksson Larsen Hansen Jensen Nielsen "
               "Pedersen Lindqvist Sølberg Ødegård Åkesson Jónsdóttir Guðmundsson"),
    "nl": ("Daan Emma Sem Julia Lucas Mila Bram Tess Sanne Joris",
           "de_Jong Jansen de_Vries van_den_Berg van_Dijk Bakker Visser Smit Meijer "
           "de_Boer van_Dam Mulder"),
    "tr": ("Yusuf Zeynep Eymen Elif Ömer Defne Çağan Ayşe Göktuğ Şule",
           "Yılmaz Kaya Demir Şahin Çelik Yıldız Yıldırım Öztürk Aydın Özdemir Arslan Doğan"),
    "vi": ("Hương Minh Anh Thảo Đức Quỳnh Tuấn Phương Hùng Ngọc",
           "Nguyễn Trần Lê Phạm Hoàng Huỳnh Phan Vũ Võ Đặng Bùi Đỗ"),
    "in": ("Aarav Priya Vihaan Ananya Arjun Diya Sai Isha Rohan Kavya Lakshmi Venkatesh",
           "Sharma Verma Gupta Patel Reddy Iyer Nair Raman Krishnan Menon Chatterjee Banerjee"),
    "af": ("Oluwaseun Chiamaka Kwame Amara Tendai Nia Kofi Zanele Babajide Wanjiru",
           "Okafor Adeyemi Mensah Okonkwo Nkosi Mwangi Diallo Traoré Boateng Abiodun"),
}

NATIVE = {
    "el": (False,
           [("Γιώργος", "Giorgos"), ("Μαρία", "Maria"), ("Νίκος", "Nikos"),
            ("Ελένη", "Eleni"), ("Κώστας", "Kostas"), ("Σοφία", "Sofia"),
            ("Δημήτρης", "Dimitris"), ("Αικατερίνη", "Aikaterini")],
           [("Παπαδόπουλος", "Papadopoulos"), ("Παπαδοπούλου", "Papadopoulou"),
            ("Οικονόμου", "Oikonomou"), ("Γεωργίου", "Georgiou"), ("Μακρής", "Makris"),
            ("Βλάχος", "Vlachos"), ("Αλεξίου", "Alexiou")]),
    "ru": (False,
           [("Иван", "Ivan"), ("Анна", "Anna"), ("Дмитрий", "Dmitry"), ("Ольга", "Olga"),
            ("Сергей", "Sergey"), ("Наталья", "Natalya"), ("Алексей", "Alexey"),
            ("Екатерина", "Ekaterina"), ("Юлия", "Yulia")],
           [("Иванов", "Ivanov"), ("Смирнов", "Smirnov"), ("Кузнецов", "Kuznetsov"),
            ("Попов", "Popov"), ("Соколов", "Sokolov"), ("Лебедев", "Lebedev"),
            ("Макаров", "Makarov"), ("Морозов", "Morozov"), ("Шевченко", "Shevchenko")]),
    "ar": (False,
           [("محمد", "Mohammed"), ("فاطمة", "Fatima"), ("أحمد", "Ahmed"),
            ("مريم", "Maryam"), ("علي", "Ali"), ("ليلى", "Layla"), ("عمر", "Omar"),
            ("نور", "Noor")],
           [("منصور", "Mansour"), ("حداد", "Haddad"), ("الخطيب", "Al-Khatib"),
            ("سليمان", "Suleiman"), ("النجار", "Al-Najjar"), ("عباس", "Abbas")]),
    "he": (False,
           [("דוד", "David"), ("נועה", "Noa"), ("יוסף", "Yosef"), ("תמר", "Tamar"),
            ("אריאל", "Ariel"), ("מיכל", "Michal")],
           [("כהן", "Cohen"), ("לוי", "Levi"), ("מזרחי", "Mizrahi"), ("פרץ", "Peretz"),
            ("ביטון", "Biton"), ("אברהם", "Avraham")]),
    "zh": (True,
           [("秀英", "Xiuying"), ("伟", "Wei"), ("芳", "Fang"), ("敏", "Min"),
            ("静", "Jing"), ("磊", "Lei"), ("丽娟", "Lijuan"), ("建华", "Jianhua"),
            ("晓明", "Xiaoming")],
           [("王", "Wang"), ("李", "Li"), ("张", "Zhang"), ("刘", "Liu"), ("陈", "Chen"),
            ("杨", "Yang"), ("黄", "Huang"), ("马", "Ma"), ("周", "Zhou")]),
    "ja": (True,
           [("健", "Ken"), ("陽菜", "Hina"), ("翔", "Sho"), ("結衣", "Yui"),
            ("大輔", "Daisuke"), ("さくら", "Sakura"), ("拓也", "Takuya"), ("美咲", "Misaki")],
           [("佐藤", "Sato"), ("鈴木", "Suzuki"), ("高橋", "Takahashi"), ("田中", "Tanaka"),
            ("渡辺", "Watanabe"), ("松本", "Matsumoto"), ("山本", "Yamamoto"),
            ("中村", "Nakamura")]),
    "ko": (True,
           [("민준", "Minjun"), ("서연", "Seoyeon"), ("지호", "Jiho"), ("하은", "Haeun"),
            ("도윤", "Doyun"), ("지우", "Jiwoo")],
           [("김", "Kim"), ("이", "Lee"), ("박", "Park"), ("최", "Choi"), ("정", "Jung"),
            ("강", "Kang")]),
}

# Sites: locality, company, street, postal code, name cultures, and the number plan
# (country and area code, how many digits each group of the local part has, and the
# prefix of mobile numbers).
# Where a plan reserves numbers for fiction, the prefix keeps to them.
SITES = [
    ("Portland", "Quillet Instruments Inc.", "410 Alder Street", "97204", ["en", "in", "vi"],
     "+1 503 555", (4,), "+1 971 555"),
    ("London", "Quillet Instruments Ltd.", "8 Tanner Row", "EC2A 4BX", ["en", "in", "af"],
     "+44 20 7946", (4,), "+44 7700 900"),
    ("Zürich", "Quillet Instruments AG", "Seefeldstrasse 214", "8008", ["de", "it", "fr"],
     "+41 44", (3, 2, 2), "+41 79"),
    ("München", "Quillet Instruments GmbH", "Leopoldstraße 87", "80802", ["de", "tr", "pl"],
     "+49 89", (4, 4), "+49 151"),
    ("Paris", "Quillet Instruments SAS", "12 rue de la Roquette", "75011", ["fr", "af"],
     "+33 1", (2, 2, 2, 2), "+33 6"),
    ("Málaga", "Quillet Instruments S.L.", "Calle Larios 4", "29005", ["es"],
     "+34 952", (3, 3), "+34 6"),
    ("São Paulo", "Quillet Instrumentos Ltda.", "Avenida Paulista 1578", "01310-200",
     ["pt", "it", "ja"], "+55 11", (4, 4), "+55 11 9"),
    ("Kraków", "Quillet Instruments Sp. z o.o.", "ul. Floriańska 33", "31-019", ["pl", "cs"],
     "+48 12", (3, 2, 2), "+48 501"),
    ("Stockholm", "Quillet Instruments AB", "Sveavägen 44", "111 34", ["nordic"],
     "+46 8", (3, 2, 2), "+46 70"),
    ("Amsterdam", "Quillet Instruments B.V.", "Keizersgracht 221", "1016 DV", ["nl", "tr"],
     "+31 20", (3, 4), "+31 6"),
    ("Αθήνα", "Quillet Instruments Α.Ε.", "Λεωφόρος Συγγρού 112", "117 41", ["el"],
     "+30 21", (4, 4), "+30 69"),
    ("Москва", "ООО «Квиллет Инструментс»", "Тверская улица, 16", "125009", ["ru"],
     "+7 495", (3, 2, 2), "+7 916"),
    ("תל אביב", "Quillet Instruments Israel Ltd.", "שדרות רוטשילד 45", "6578403", ["he", "ru"],
     "+972 3", (3, 4), "+972 52"),
    ("دبي", "Quillet Instruments FZ-LLC", "شارع الشيخ زايد", "00000", ["ar", "in"],
     "+971 4", (3, 4), "+971 50"),
    ("東京", "クイレット・インスツルメンツ株式会社", "千代田区丸の内2-7-2", "100-0005", ["ja"],
     "+81 3", (4, 4), "+81 90"),
    ("上海", "奎莱特仪器（上海）有限公司", "浦东新区世纪大道100号", "200120", ["zh"],
     "+86 21", (4, 4), "+86 139"),
    ("서울", "퀼렛 인스트루먼트 코리아", "강남구 테헤란로 152", "06236", ["ko"],
     "+82 2", (4, 4), "+82 10"),
    ("Hà Nội", "Quillet Instruments Việt Nam", "54 Phố Hàng Bài", "100000", ["vi"],
     "+84 24", (4, 4), "+84 91"),
    ("Bengaluru", "Quillet Instruments India Pvt. Ltd.", "100 Feet Road, Indiranagar",
     "560038", ["in"], "+91 80", (4, 4), "+91 98"),
]

UNITS = ["Engineering", "Sales", "Customer Support", "Finance", "Human Resources",
         "Manufacturing", "Research", "Marketing", "Legal", "Logistics"]

TITLES = {
    "Engineering": ["Software Engineer", "Senior Software Engineer", "Hardware Engineer",
                    "Test Engineer", "Engineering Manager", "Firmware Developer"],
    "Sales": ["Account Manager", "Sales Representative", "Regional Sales Director"],
    "Customer Support": ["Support Specialist", "Field Service Engineer", "Support Team Lead"],
    "Finance": ["Accountant", "Controller", "Financial Analyst", "Payroll Specialist"],
    "Human Resources": ["HR Business Partner", "Recruiter", "Training Coordinator"],
    "Manufacturing": ["Production Planner", "Quality Inspector", "Plant Manager", "Technician"],
    "Research": ["Research Scientist", "Lab Technician", "Principal Scientist"],
    "Marketing": ["Product Marketing Manager", "Content Writer", "Event Manager"],
    "Legal": ["Legal Counsel", "Paralegal", "Compliance Officer"],
    "Logistics": ["Logistics Coordinator", "Warehouse Lead", "Buyer"],
}


def words(text):
    return [w.replace("_", " ") for w in text.split()]


def ascii_fold(text):
    """The text in plain ASCII letters, for user ids and mail addresses."""
    special = {"ß": "ss", "ø": "o", "Ø": "O", "æ": "ae", "ł": "l", "Ł": "L", "đ": "d",
               "Đ": "D", "ð": "d", "ı": "i", "'": "", "’": ""}
    text = "".join(special.get(c, c) for c in text)
    text = unicodedata.normalize("NFKD", text)
    return "".join(c for c in text if c.isascii() and (c.isalnum() or c in " -"))


def mail_name(given, surname):
    part = lambda s: ascii_fold(s).lower().replace(" ", "").replace("-", "")
    return f"{part(given)}.{part(surname)}"


class Person:
    def __init__(self):
        self.values = []  # (attribute, value) in LDIF order

    def add(self, attribute, *values):
        for value in values:
            if value:
                self.values.append((attribute, value))


def ldif_line(attribute, value):
    safe = value.isascii() and value == value.strip() and not value.startswith((":", "<"))
    if safe:
        return f"{attribute}: {value}"
    return f"{attribute}:: {base64.b64encode(value.encode('utf-8')).decode('ascii')}"


def phone(rng, prefix, groups):
    return prefix + " " + " ".join(rng.digits(n) for n in groups)


def make_name(rng, culture):
    """(cn values, sn values, givenName values, given, surname as romanised text)."""
    if culture in NATIVE:
        family_first, given_pool, surname_pool = NATIVE[culture]
        given, surname = rng.pick(given_pool), rng.pick(surname_pool)
        if family_first:
            gap = " " if culture == "ja" else ""
            native = surname[0] + gap + given[0]
        else:
            native = given[0] + " " + surname[0]
        roman = f"{given[1]} {surname[1]}"
        return [native, roman], [surname[0], surname[1]], [given[0], given[1]], given[1], surname[1]
    given_text, surname_text = LATIN[culture]
    given, surname = rng.pick(words(given_text)), rng.pick(words(surname_text))
    if culture == "es" and rng.chance(30):  # two surnames
        surname = f"{surname} {rng.pick(words(surname_text))}"
    # Some directories keep "Last, First" in cn.
    cn = f"{surname}, {given}" if rng.chance(8) else f"{given} {surname}"
    return [cn], [surname], [given], given, surname


def head_office(rng):
    people, used = [], set()
    cultures_all = list(LATIN) + list(NATIVE)
    for n in range(HEAD_PEOPLE):
        site = SITES[n % len(SITES)] if n < len(SITES) * 10 else rng.pick(SITES)
        locality, company, street, postal, cultures, prefix, groups, mobile = site
        culture = rng.pick(cultures) if rng.chance(80) else rng.pick(cultures_all)
        cn, sn, given_values, given, surname = make_name(rng, culture)
        people.append(make_person(rng, used, cn, sn, given_values, given, surname, site,
                                  rng.pick(UNITS)))
    # Names that need characters outside the basic multilingual plane: 𠮷 is the
    # "tsuchi-yoshi" variant of 吉 that many Yoshidas write.
    tokyo = next(s for s in SITES if s[0] == "東京")
    people.append(make_person(rng, used, ["𠮷田 花子", "Hanako Yoshida"], ["𠮷田", "Yoshida"],
                              ["花子", "Hanako"], "Hanako", "Yoshida", tokyo, "Research"))
    people.append(make_person(rng, used, ["𠮷野 翔太", "Shota Yoshino"], ["𠮷野", "Yoshino"],
                              ["翔太", "Shota"], "Shota", "Yoshino", tokyo, "Engineering"))
    return people


def make_person(rng, used, cn, sn, given_values, given, surname, site, unit):
    locality, company, street, postal, cultures, prefix, groups, mobile = site
    uid = mail_name(given, surname) or "person"
    base, k = uid, 2
    while uid in used:
        uid, k = f"{base}{k}", k + 1
    used.add(uid)
    p = Person()
    p.dn = f"uid={uid},ou={unit},{HEAD_SUFFIX}"
    p.add("uid", uid)
    p.add("cn", *cn)
    p.add("sn", *sn)
    p.add("givenName", *given_values)
    p.add("mail", f"{uid}@quillet.example")
    # One to four numbers of different kinds; a few people have a mobile only.
    kinds = rng.pick([1, 1, 1, 1, 2, 2, 2, 3, 3, 4])
    office = 0 if rng.chance(4) else (2 if rng.chance(12) else 1)
    p.add("telephoneNumber", *(phone(rng, prefix, groups) for _ in range(office)))
    extra = ["mobile", "facsimileTelephoneNumber", "homePhone", "pager"]
    for kind in extra[:max(kinds - office, 0 if office else 1)]:
        p.add(kind, phone(rng, mobile if kind in ("mobile", "pager") else prefix, groups))
    p.add("title", rng.pick(TITLES[unit]))
    p.add("o", company)
    p.add("ou", unit)
    p.add("l", locality)
    p.add("street", street)
    p.add("postalCode", postal)
    p.add("employeeNumber", str(10000 + len(used)))
    return p


def branch_office(rng):
    people, used = [], set()
    teams = ["Service Desk", "Installation", "Regional Sales", "Workshop"]
    for n in range(BRANCH_PEOPLE):
        culture = rng.pick(["de", "de", "de", "it", "cs", "pl", "tr", "en"])
        cn, sn, given_values, given, surname = make_name(rng, culture)
        uid = mail_name(given, surname)
        base, k = uid, 2
        while uid in used:
            uid, k = f"{base}{k}", k + 1
        used.add(uid)
        p = Person()
        p.dn = f"uid={uid},{BRANCH_SUFFIX}"
        p.add("uid", uid)
        p.add("cn", *cn)
        p.add("sn", *sn)
        p.add("givenName", *given_values)
        p.add("mail", f"{uid}@branch.example")
        p.add("telephoneNumber", f"+43 316 555 {1000 + n}")
        if rng.chance(70):
            p.add("mobile", phone(rng, "+43 664", (3, 4)))
        p.add("departmentNumber", rng.pick(teams))
        p.add("roomNumber", f"{rng.below(3)}.{rng.below(40) + 1:02d}")
        p.add("title", rng.pick(["Technician", "Service Engineer", "Sales Representative",
                                 "Office Manager", "Apprentice"]))
        p.add("l", "Graz")
        people.append(p)
    return people


def write(path, suffix, top, containers, people, comment):
    with open(path, "w", encoding="ascii", newline="\n") as out:
        out.write(f"# {comment}\n# Generated by demohost/sample/make-directory.py; do not edit.\n\n")
        out.write(f"dn: {suffix}\n")
        for attribute, value in top:
            out.write(ldif_line(attribute, value) + "\n")
        out.write("\n")
        for unit in containers:
            out.write(f"dn: ou={unit},{suffix}\nobjectClass: top\nobjectClass: organizationalUnit\n"
                      f"ou: {unit}\n\n")
        for p in people:
            out.write(f"dn: {p.dn}\n")
            out.write("objectClass: top\nobjectClass: person\nobjectClass: organizationalPerson\n"
                      "objectClass: inetOrgPerson\n")
            for attribute, value in p.values:
                out.write(ldif_line(attribute, value) + "\n")
            out.write("\n")


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-directory.py OUTDIR")
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    write(os.path.join(outdir, "quillet.ldif"), HEAD_SUFFIX,
          [("objectClass", "top"), ("objectClass", "dcObject"), ("objectClass", "organization"),
           ("dc", "quillet"), ("o", "Quillet Instruments")],
          UNITS, head_office(Random(1957)), "Quillet Instruments: the company directory.")
    write(os.path.join(outdir, "branch.ldif"), BRANCH_SUFFIX,
          [("objectClass", "top"), ("objectClass", "dcObject"), ("objectClass", "organization"),
           ("dc", "branch"), ("o", "Quillet Branch Office Graz")],
          [], branch_office(Random(1983)), "The Graz branch office.")


if __name__ == "__main__":
    main()
