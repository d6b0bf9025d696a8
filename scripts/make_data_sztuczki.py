"""Writes the Tricks page's reading: the tips text and the articles, each an HTML document in
its own folder below Poradnik/arty/. Text files are in windows-1250 with CRLF line ends, as the
program and the system read them."""
import os

TIPS = """Sztuczki na co dzień

Szybkie zamknięcie systemu
Utwórz na pulpicie skrót z poleceniem:
rundll32.exe user.exe,ExitWindows
Dwukrotne kliknięcie skrótu zamyka Windows bez zbędnych pytań.

Ponowne uruchomienie
Skrót z poleceniem rundll32.exe user.exe,ExitWindowsExec uruchamia system ponownie.

Data i godzina jednym kliknięciem
Skrót z poleceniem rundll32.exe shell32.dll,Control_RunDLL timedate.cpl otwiera okno
Data/Godzina bez przechodzenia przez Panel sterowania.

Kosz w dowolnym folderze
Utwórz nowy folder i nazwij go:
Kosz.{645FF040-5081-101B-9F08-00AA002F954E}
Folder zamieni się w skrót do Kosza.

Blokada myszki (ostrożnie!)
Polecenie rundll32.exe mouse,disable wyłącza myszkę aż do ponownego uruchomienia systemu.
Zanim go użyjesz, upewnij się, że umiesz obsłużyć Windows samą klawiaturą.

Klawisze, które warto znać
Ctrl+Esc - menu Start
Alt+Tab - przełączanie między oknami
Shift+Delete - usunięcie pliku z pominięciem Kosza
F5 - odświeżenie zawartości folderu
"""

ARTICLES = {
    "Porządki na dysku": (
        "Porządki na dysku",
        [
            "Z czasem na dysku zbiera się wiele niepotrzebnych plików: kopie tymczasowe, "
            "stare instalatory i zawartość Kosza. Warto raz na jakiś czas zrobić porządki.",
            "Zacznij od programu Oczyszczanie dysku (Start, Programy, Akcesoria, Narzędzia "
            "systemowe). Wskaż dysk C:, zaznacz Pliki tymczasowe, Temporary Internet Files "
            "oraz Kosz i potwierdź usunięcie.",
            "Następnie zajrzyj do folderu C:\\WINDOWS\\TEMP. Pliki starsze niż kilka dni "
            "można bezpiecznie usunąć, najlepiej zaraz po uruchomieniu komputera, gdy żaden "
            "program ich nie używa.",
            "Na koniec uruchom Defragmentator dysków. Pliki zapisane w jednym kawałku "
            "wczytują się szybciej, a system startuje sprawniej.",
        ],
    ),
    "Szybszy start systemu": (
        "Szybszy start systemu",
        [
            "Windows 98 przy każdym starcie uruchamia programy zapisane w folderze Autostart "
            "i w rejestrze. Im jest ich więcej, tym dłużej czekasz na pulpit.",
            "Uruchom Narzędzie konfiguracji systemu (msconfig.exe w oknie Uruchom) i na karcie "
            "Autostart wyłącz programy, których nie potrzebujesz od razu. Zmiany możesz w "
            "każdej chwili cofnąć.",
            "Na karcie Windows programu Tolmar znajdziesz listę programów uruchamianych "
            "z rejestru. Usuń z niej wpisy programów, które zostały już odinstalowane.",
            "W pliku MsDos.sys (karta MS-DOS) możesz skrócić czas wyświetlania menu startowego "
            "i wyłączyć logo widoczne podczas uruchamiania systemu.",
        ],
    ),
    "Skróty klawiszowe": (
        "Skróty klawiszowe w Windows 98",
        [
            "Myszka nie zawsze jest pod ręką, a niektóre czynności klawiaturą wykonasz "
            "szybciej. Oto skróty, które warto zapamiętać.",
            "Ctrl+Esc otwiera menu Start, Alt+Tab przełącza między oknami, a Alt+F4 zamyka "
            "aktywne okno. Naciśnięte na pulpicie Alt+F4 wywołuje okno zamykania systemu.",
            "W oknie folderu F2 zmienia nazwę zaznaczonego pliku, F3 otwiera wyszukiwanie, "
            "a Backspace przenosi do folderu nadrzędnego.",
            "Shift+F10 otwiera menu podręczne, tak jak prawy przycisk myszy. Ctrl+Alt+Del "
            "pokazuje listę uruchomionych programów i pozwala zamknąć ten, który przestał "
            "odpowiadać.",
        ],
    ),
}


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1250")


def html(title, paragraphs):
    body = "\n".join("<p>%s</p>" % p for p in paragraphs)
    return (
        "<html>\n<head>\n"
        '<meta http-equiv="Content-Type" content="text/html; charset=windows-1250">\n'
        "<title>%s</title>\n</head>\n"
        '<body bgcolor="#FFFFFF" text="#000000">\n'
        '<font face="Verdana" size="2">\n<h3>%s</h3>\n%s\n'
        "<p><i>Poradnik programu Tolmar</i></p>\n</font>\n</body>\n</html>\n"
    ) % (title, title, body)


def main(root):
    guide = os.path.join(root, "Poradnik")
    os.makedirs(guide, exist_ok=True)
    with open(os.path.join(guide, "sztuczki.txt"), "wb") as f:
        f.write(crlf(TIPS))
    for folder, (title, paragraphs) in ARTICLES.items():
        path = os.path.join(guide, "arty", folder)
        os.makedirs(path, exist_ok=True)
        with open(os.path.join(path, "index.htm"), "wb") as f:
            f.write(crlf(html(title, paragraphs)))
