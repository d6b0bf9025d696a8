#!/usr/bin/env python3
"""Writes Tolmar's own run-time pictures and documents into data/program/.

Everything here is drawn or written for Tolmar: the side panel caps and filler, the picture
behind the clock, the About text and the help document. The outputs are committed; run this
again after changing it.
"""
import math
import os
import struct

import make_data_icon
import make_data_ikony
import make_data_interfejs
import make_data_kreator
import make_data_sztuczki

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "program")
GREEN = (0, 255, 0)  # drawn transparent by the program


def write_bmp(path, width, height, pixel):
    """24-bit BMP; pixel(x, y) gives (r, g, b) with y counted from the top."""
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + info + data)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


BORDER = (40, 70, 140)
LIGHT = (236, 241, 250)
DARK = (70, 110, 190)


def cap(top, title_band):
    """A 130 x 20 cap with rounded outer corners, pure green outside them."""
    radius = 8

    def pixel(x, y):
        yy = y if top else 19 - y
        # outside the rounded corner
        for cx in (radius, 129 - radius):
            if (x < radius and cx == radius) or (x > 129 - radius and cx == 129 - radius):
                if yy < radius and math.hypot(x - cx, yy - radius) > radius:
                    return GREEN
                if yy < radius and math.hypot(x - cx, yy - radius) > radius - 1.2:
                    return BORDER
        if yy == 0 or x == 0 or x == 129:
            return BORDER
        if title_band:
            return mix(DARK, LIGHT, yy / 19)
        return mix(mix(DARK, LIGHT, 0.5), LIGHT, yy / 19)

    return pixel


def filler(x, y):
    if x == 0 or x == 129:
        return BORDER
    return LIGHT


def ball(x, y):
    cx, cy, r = 93, 96, 66
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return GREEN
    if d > r - 1.5:
        return (120, 150, 210)
    # light from the upper left
    nx, ny = (x - cx) / r, (y - cy) / r
    nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
    light = max(0.0, -0.45 * nx - 0.55 * ny + 0.7 * nz)
    base = mix((190, 210, 240), (255, 255, 255), light)
    return base


def rtf_text(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\n":
            out.append("\\par\n")
        elif code < 128:
            out.append(ch)
        else:
            try:
                byte = ch.encode("cp1250")
                out.append("\\'%02x" % byte[0])
            except UnicodeEncodeError:
                out.append("\\u%d?" % code)
    return "".join(out)


def rtf(parts):
    """parts: list of (style, text); style is 'h1', 'h2' or 'p'."""
    body = []
    for style, text in parts:
        if style == "h1":
            body.append("{\\b\\fs32\\cf1 " + rtf_text(text) + "\\par}\n")
        elif style == "h2":
            body.append("{\\b\\fs24\\cf2 " + rtf_text(text) + "\\par}\n")
        else:
            body.append("{\\fs20 " + rtf_text(text) + "\\par}\n")
    return ("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Verdana;}}\n"
            "{\\colortbl ;\\red0\\green0\\blue128;\\red0\\green128\\blue0;}\n"
            + "".join(body) + "}\n").encode("ascii")


ABOUT = [
    ("h1", "Tolmar 3.0 - Quorvex"),
    ("p", "Tolmar to niewielki program, który pozwala zmienić ukryte ustawienia systemu Windows 98 "
          "bez ręcznego grzebania w rejestrze i w plikach startowych. Zamiast kluczy i wartości "
          "widzisz zwykłe pola wyboru, liczby, listy i przyciski."),
    ("h2", "Jak działa Tolmar"),
    ("p", "Przy starcie Tolmar odczytuje bieżący stan systemu i pokazuje go na dziesięciu "
          "kartach. Każda zmiana jest zapisywana od razu, w chwili kliknięcia: nie ma przycisku "
          "\"Zastosuj\" ani niczego do zapamiętania na później."),
    ("p", "Niektóre ustawienia zaczynają działać dopiero po ponownym uruchomieniu komputera albo "
          "po ponownym zalogowaniu - tak działa sam system, nie Tolmar."),
    ("h2", "Zanim zaczniesz"),
    ("p", "Część opcji blokuje dostęp do elementów systemu (na przykład Panelu Sterowania albo "
          "edytora rejestru). Zanim je zaznaczysz, upewnij się, że wiesz jak je potem wyłączyć. "
          "Tolmar zawsze pozwala cofnąć swoją zmianę: wystarczy odznaczyć pole."),
    ("h2", "Pomoc"),
    ("p", "Przesuń mysz nad dowolną opcję, a w polu pomocy po prawej stronie pojawi się jej opis. "
          "Pełną pomoc otwiera odnośnik \"Skorzystać z pomocy\" w menu obok kart."),
]

HELP = [
    ("h1", "Tolmar - pomoc"),
    ("p", "Tolmar zmienia ukryte ustawienia systemu Windows 98. Każda opcja jest zapisywana w "
          "chwili jej zmiany. Opis opcji, nad którą znajduje się wskaźnik myszy, pojawia się w "
          "polu pomocy po prawej stronie okna."),
    ("h2", "Ikony"),
    ("p", "Opisy ikon pulpitu, ikony pulpitu i skrótów, głębia kolorów ikon, szybki podgląd "
          "bitmap, nazwa kosza, ukrywanie apletów Panelu Sterowania i ikony dysków."),
    ("h2", "Pliki i foldery"),
    ("p", "Pokazywanie plików ukrytych i systemowych, ukrywanie rozszerzeń znanych typów plików "
          "oraz usuwanie plików z pominięciem kosza. Poniżej znajduje się lista lokalizacji "
          "folderów systemowych: kliknij dwukrotnie ścieżkę, aby ją zmienić, a następnie naciśnij "
          "przycisk \"Zaakceptuj wprowadzone zmiany\". Puste pola nie są zapisywane."),
    ("h2", "Interfejs użytkownika"),
    ("p", "Elementy menu Start, pasek zadań, opóźnienie rozwijania menu, skrót do Panelu "
          "Sterowania w menu Start oraz kreator animowanej tapety."),
    ("h2", "Windows"),
    ("p", "Programy uruchamiane razem z systemem, harmonogram zadań, lista zainstalowanych "
          "programów, migotanie kursora, komunikat przed logowaniem, ustawienia ekranu, "
          "zwalnianie pamięci, plik wymiany i uprawnienia dostępu."),
    ("h2", "Sieć"),
    ("p", "Hasła, połączenia telefoniczne, ustawienia TCP/IP, udostępnianie i logowanie."),
    ("h2", "MS-DOS"),
    ("p", "Blokady trybu MS-DOS oraz opcje startowe zapisane w pliku MSDOS.SYS."),
    ("h2", "Informacje o sprzedawcy"),
    ("p", "Dane producenta komputera i jego logo, widoczne we Właściwościach systemu."),
    ("h2", "Edytor plików systemowych"),
    ("p", "Otwieranie, zmiana i zapisywanie plików startowych i konfiguracyjnych."),
    ("h2", "O programie"),
    ("p", "Informacje o programie Tolmar i jego autorze."),
    ("h2", "Sztuczki"),
    ("p", "Artykuły i porady dołączone do programu."),
    ("h2", "Menu i konfiguracja"),
    ("p", "Menu obok kart otwiera tę pomoc, pozwala zgłosić problem, napisać do autora, "
          "odwiedzić stronę programu i zmienić jego ustawienia: przyciąganie okna do krawędzi "
          "ekranu i wpis \"Uruchom Tolmar QX\" w menu kontekstowym folderów. Dwukrotne kliknięcie "
          "zegara otwiera ustawienia daty i godziny."),
]


def main():
    bmp = os.path.join(ROOT, "data", "gfx", "bmp")
    write_bmp(os.path.join(bmp, "menu", "MenuUp.bmp"), 130, 20, cap(True, True))
    write_bmp(os.path.join(bmp, "menu", "MenuUp2.bmp"), 130, 20, cap(True, False))
    write_bmp(os.path.join(bmp, "menu", "MenuDown.bmp"), 130, 20, cap(False, False))
    write_bmp(os.path.join(bmp, "menu", "linia1px.bmp"), 130, 1, filler)
    write_bmp(os.path.join(bmp, "Zegar.bmp"), 187, 164, ball)
    txt = os.path.join(ROOT, "data", "Txt")
    os.makedirs(txt, exist_ok=True)
    with open(os.path.join(txt, "AboutTolmar.rtf"), "wb") as f:
        f.write(rtf(ABOUT))
    help_dir = os.path.join(ROOT, "Pomoc")
    os.makedirs(help_dir, exist_ok=True)
    with open(os.path.join(help_dir, "help.doc"), "wb") as f:
        f.write(rtf(HELP))
    make_data_sztuczki.main(ROOT)
    make_data_interfejs.main(ROOT, write_bmp)
    make_data_ikony.main(ROOT)
    make_data_icon.main(ROOT)
    make_data_kreator.main(ROOT, write_bmp)


if __name__ == "__main__":
    main()
