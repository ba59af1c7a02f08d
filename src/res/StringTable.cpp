// German user texts of TRV, by string-table id.
//
// 2166, the contact text in the footer of the printed protocol, has the form of two lines (company,
// postal address, telephone and fax; e-mail and web address), each ending with "\n". It carries only
// what is known of the maker: its name and the web address of the "?" menu.
//
// Texts are UTF-8. "\r", "\n" and "\t" inside a text are part of it (the
// chart annotations break lines at "\r", the printout at "\n" and expands
// tabs), and so are leading and trailing blanks. Typing slips in the wording
// ("einegestellte", "ausgewählen") are the program's established texts and
// are kept as they are.

#include "Strings.h"

#include <algorithm>
#include <iterator>

namespace trv {

namespace {

// Explanation of the step-duration source "Arvento" in the test parameter
// dialog; treadmill (2121) and ergometer (2123) show the same note.
constexpr char kStopFunctionNote[] =
    "Die im Arvento eingestellte Stufendauer wird verwendet.\nWurde die "
    "letzte Belastungsstufe vorzeitig abgebrochen und am Arvento die "
    "Stop-Funktion verwendet, dann kann die Checkbox <<Stufenabbruch "
    "automatisch kompensieren>> aktiviert werden. Dadurch wird der "
    "Belastungswert der letzten Stufe in Abhängigkeit von der verkürzten "
    "Stufendauer entsprechend angepasst. ";

const StringEntry kTable[] = {
    // document template: title stem, document name, filter name, extension,
    // file type id, file type name
    {129, "\nTRV\nTRV\nDateityp TRV (*.trv)\n.trv\nTRV.Document\nTRV Document"},
    {2000, "Mess-ID"},
    {2001, "Datum"},
    {2002, "Uhrzeit"},
    {2005, "Laktat [mmol/l]"},
    {2006, "HR [S/min]"},
    {2008, "P [W]"},
    {2009, "Testtyp"},
    {2010, "T [°C]"},
    {2011, "Stufendauer [mm:ss]"},
    {2014, "Kurve"},
    {2020, "Bitte Testparameter für Kurve L1 eingeben."},
    {2021, "Bitte Testparameter für Kurve L2 eingeben."},
    {2022, "Kurve L1 nicht approximierbar. Bitte eine andere Fittingfunktion wählen."},
    {2023, "Kurve L2 nicht approximierbar. Bitte eine andere Fittingfunktion wählen."},
    {2024, "IANS nicht bestimmbar für Kurve L1"},
    {2025, "IANS nicht bestimmbar für Kurve L2"},
    {2026, "Bitte Messdaten vom Arvento übertragen oder vorhandene TRV-Datei laden."},
    {2027, "Bitte Tests zur Darstellung auswählen."},
    {2028, "Bitte für beide Tests die gleiche Belastungseinheit einstellen!"},
    {2029, "Geräte-ID stimmt mit keiner der angeschlossenen Geräte überein."},
    {2030,
     "Kein Arvento gefunden! Bitte Gerät mittels PC-Kabel oder BT-Modul "
     "anschließen und einschalten."},
    {2100, "Laufband"},
    {2101, "Ergometer"},
    {2102, "Feldtest"},
    {2103, "Mader-Modell"},
    {2104, "Modell nach Keul"},
    {2105, "Modell nach Simon"},
    {2106, "Polynom 3. Grades"},
    {2109, "Liste mit Messdaten"},
    {2110, "Liste mit Tests"},
    {2111, "Daten vom Arvento empfangen"},
    {2112, "Parameter für Stufentest eingeben"},
    {2113, "Benutzerdaten eingeben"},
    {2114, "Testprotokoll für die ausgewählen Stufentests ausdrucken"},
    {2115, "Diagramm aktualisieren"},
    {2116, "Stufendauer"},
    {2117, "Geschwindigkeitsvorgabe v [m/s]"},
    {2118, "Geschwindigkeitsvorgabe v [km/h]"},
    {2119, "Belastungsvorgabe P[W]"},
    {2120, "Die am PC einegestellte Stufendauer wird verwendet."},
    {2121, kStopFunctionNote},
    {2122, "Die am PC eingestellte Stufendauer wird verwendet."},
    {2123, kStopFunctionNote},  // same note for the ergometer
    {2124, "Geschwindigkeiten aus PC"},
    {2125, "Arvento"},
    {2126, "Manuell"},
    {2127, "Streckenlänge"},
    {2128,
     "Anhand der am PC eingestellten Geschwindigkeiten und der Streckenlänge "
     "werden die Werte für die Stufendauer berechnet."},
    {2129,
     "Die im Handmessgerät mittels Stop-Funktion ermittelten Stufendauerwerte "
     "werden übernommen und zur Berechnung der Geschwindigkeiten "
     "herangezogen. "},
    {2130,
     "Die Werte für die Stufendauer können in der Tabelle <<Messdaten>> "
     "manuell editiert werden."},
    {2131, "Suche an %s ..."},
    {2132, "Gerät %s an COM%d gefunden."},
    {2133, "Empfange Messdaten ..."},
    {2135, "Fehlerhafte CRC-Prüfsumme."},
    {2136, "Übertragungsfehler:"},
    {2137, "Fehler: Timeout bei Datenübertragung!"},
    {2138, "Fehler: Gerät antwortet nicht!"},
    {2139, "Geräte-ID   : %s\rFirmware: %2.2f\rCOM-Port: %s"},
    {2140, "\nProtokoll vom "},
    {2142, "Gerätedaten:\n"},
    {2143, "Geräte-ID:\t\t%s\nFirmware:\t\tV%1.2f"},
    {2144, "Zusatzbemerkungen zur Testperson:\n"},
    {2145, "Testperson:\n"},
    {2146,
     "Vorname:\t%s\nName:\t\t%s\nStrasse:\t%s\nPLZ/Ort:\t%s %s\nTel.:\t\t%s\n"
     "E-Mail:\t\t%s\n\nGeb.-Datum:\t%s\nGewicht:\t%.0f kg\nGröße:\t\t%.0f cm\n"
     "Geschlecht:\t%s"},
    {2148, "Leistungskurve:\n"},
    {2149,
     "Datum:\t\t\t%s\nUhrzeit:\t\t\t%s\nSchwellwertmodell:\t%s\n"
     "Fitting-Funktion:\t%s\nStreckenlänge:\t\t%.0f m\n"},
    {2151, "männlich"},
    {2152, "weiblich"},
    {2154,
     "Datum:\t\t\t%s\nUhrzeit:\t\t\t%s\nSchwellwertmodell:\t%s\n"
     "Fitting-Funktion:\t%s\n"},
    {2155, "Testdatum"},
    {2156, "Ergebnisse:"},
    {2157, "IANS nicht bestimmbar!\n"},
    {2158,
     "Laktat IANS:\t\t%2.2f mmol/l\n"
     "v an IANS:\t\t%2.2f %s\n"
     "t (1000 m):\t\t%02d:%02d\n"
     "t (%5.0f m):\t\t%02d:%02d%s"},
    {2159, "Laktat IANS:\t\t%2.2f mmol/l\nv an IANS:\t\t%2.2f %s%s"},
    {2160, "Messwerte (Test 1):\n"},
    {2161, "Messwerte (Test 2):\n"},
    {2162, "\t\t Stufendauer\t Belastung\t Laktat\t HR"},
    {2163, "\t\t [mm:ss]\t [%s]\t [mmol/l]\t [S/min]"},
    {2164, "\t\t AFL-Zeit\t\t\t"},
    {2165, "\nSeite %d / 2"},
    {2166, "Morvane GmbH\nwww.morvane.de\n"},
    {2167, "Geräte-ID: %s\rFirmware: %2.2f"},
    {2168, "Laktat [mmol/l]"},
    {2169, "Heart Rate [S/min]"},
    {2170, "v [m/s]"},
    {2171, "PrL"},
    {2172, "AFL-Zeit [mm:ss]"},
    {2173, "ANS"},
    {2174, "AS "},
    {2175, "Madermodell:\r"},
    {2176, "%s = %3.2f %s\r"},
    {2177, "Laktat = %3.2f mmol/l"},
    {2178, "IANS n. Keul (Winkel=%2.2f°):\r"},
    {2179, "%s = %3.2f %s\r"},
    {2180, "Laktat = %3.2f mmol/l"},
    {2181, "IANS n. Simon (Winkel=%2.2f°):\r"},
    {2182, "%s = %3.2f %s\r"},
    {2183, "Laktat = %3.2f mmol/l"},
    {2184, "Madermodell:\r"},
    {2185, "%s = %3.2f %s\r"},
    {2186, "Laktat = %3.2f mmol/l\r"},
    {2187, "t(1000m) = %02d:%02d\r"},
    {2188, "t(%.0fm) = %02d:%02d"},
    {2189, "IANS n. Keul (Winkel=%2.2f°):\r"},
    // field test after Keul: lines as in the field test Mader set (2185-2188)
    {2190, "%s = %3.2f %s\r"},
    {2191, "Laktat = %3.2f mmol/l\r"},
    {2192, "t(1000m) = %02d:%02d\r"},
    {2193, "t(%.0fm) = %02d:%02d"},
    {2194, "IANS n. Simon (Winkel=%2.2f°):\r"},
    // field test after Simon: lines as in the field test Mader set (2185-2188)
    {2195, "%s = %3.2f %s\r"},
    {2196, "Laktat = %3.2f mmol/l\r"},
    {2197, "t(1000m) = %02d:%02d\r"},
    {2198, "t(%.0fm) = %02d:%02d"},
    {2199, "Kurve im Diagramm anzeigen"},
    {2200, "Auswahl für Anzeige zurücksetzen"},
    {2201, "SP"},
    {2202, "Bitte Benutzerdaten eingeben."},
    {2203, "Daten empfangen"},
    {2204, "Testparameter editieren"},
    {2205, "Benutzerdaten editieren"},
    {2206, "Test anzeigen/ neu zeichnen"},
    {2207, "Protokolldruck"},
    {2208, "Cursor 1: %s = %2.2f %s, Laktat = %2.2f mmol/l%s"},
    {2209,
     "Cursor 1: %s = %2.2f %s, Laktat = %2.2f mmol/l, t (%.0f m) = %02d:%02d, "
     "t (1000 m) = %02d:%02d%s"},
    {2210, "Cursor 2: %s = %2.2f %s, Laktat = %2.2f mmol/l%s"},
    {2211,
     "Cursor 2: %s = %2.2f %s, Laktat = %2.2f mmol/l, t (%.0f m) = %02d:%02d, "
     "t (1000 m) = %02d:%02d%s"},
    {2212, "Tests"},
    {2213, "Messdaten"},
    {2214, "Gerätespeicher zurücksetzen?"},
    {2215, "Achtung!"},
    {2216, "Übertragungsstatus"},
    {2217, "Info über TRV"},
    {2218,
     "Achtung, pro Gerät ist nur ein Fenster möglich. Zur Datenübertragung "
     "bitte zweites Fenster schließen!"},
    {2219, "Kubische Splines"},
    {2220, "Automatische Geräteabfrage"},
    {2221, "\rHR = %2.0f S/min"},
    {2222, ", %2.0f S/min"},
    {2223, "\nHR an IANS:\t\t%2.0f S/min"},
    {2225, "Empfange Konfiguration aus Gerät ..."},
    {2226, "Empfange Konfiguration aus Gerät ... (%d. Versuch)"},
    {2227, "Sende und prüfe Konfiguration ..."},
    {2228, "Sende und prüfe Konfiguration ... (%d. Versuch)"},
    {2230, "Die neue Konfiguration wurde erfolgreich zum Gerät gesendet."},
    {2231,
     "Prüfung der Konfiguration fehlgeschlagen. Bitte wiederholen Sie den "
     "Vorgang."},
    {2232,
     "Diese Funktion wird von der von Ihnen verwendeten Geräteversion nicht "
     "unterstützt."},
    {2233, "Suche verfügbare COM-Ports ..."},
    {2234, "Empfange Messdaten ... (%d. Versuch)"},
    // The desktop program's menus, tool tips, dialog labels and questions.
    {3000, "&Datei"},
    {3001, "&Neu"},
    {3002, "Neu mit ausgewählten Tests"},
    {3003, "Ö&ffnen..."},
    {3004, "S&chließen"},
    {3005, "&Speichern"},
    {3006, "Speichern &unter..."},
    {3007, "Daten exportieren"},
    {3008, "&Drucken..."},
    {3009, "Dru&ckeinrichtung..."},
    {3010, "Zuletzt geöffnete Datei"},
    {3011, "&Beenden"},
    {3012, "&Bearbeiten"},
    {3013, "&Rückgängig"},
    {3014, "&Ausschneiden"},
    {3015, "&Kopieren"},
    {3016, "&Einfügen"},
    {3017, "In Stufentest umwandeln"},
    {3018, "&Ansicht"},
    {3019, "&Symbolleiste"},
    {3020, "S&tatusleiste"},
    {3021, "Einstellungen"},
    {3022, "Cursor L1 anzeigen"},
    {3023, "Cursor L2 anzeigen"},
    {3024, "BT-Kompatibilitätsmodus"},
    {3025, "Geräteeinstellungen"},
    {3026, "&Fenster"},
    {3027, "&Neues Fenster"},
    {3028, "Ü&berlappend"},
    {3029, "&Nebeneinander"},
    {3030, "&Symbole anordnen"},
    {3031, "&?"},
    {3032, "Morvane im &Internet"},
    {3033, "&Info über TRV..."},
    {3034, "Erstellt eine neue Datei mit den ausgewählten Tests"},
    {3035, "InTestliste ausgewählte Einzelmessungen in Stufentest umwandeln"},
    {3036, "Vorbelastung"},
    {3037, "Hauptbelastung"},
    {3038, "Nachbelastung"},
    {3039, "Schaltet den Cursor für Kurve L1 ein"},
    {3040, "Schaltet den Cursor für Kurve L2 ein"},
    {3041, "Bereit"},
    {3042, "Erstellt ein neues Dokument"},
    {3043, "Öffnet ein bestehendes Dokument"},
    {3044, "Speichert das aktive Dokument"},
    {3045, "Druckt das aktive Dokument"},
    {3046, "Zeigt Programminformationen, Versionsnummer und Copyright an"},
    {3047, "Exportiert die Messdaten der ausgewählten Tests als CSV-Datei"},
    {3048, "Wartet beim Öffnen der Schnittstelle länger, für Bluetooth-Module"},
    {3049, "Liest und ändert den Stufentestmodus des Arvento"},
    {3050, "Standard"},
    {3051, "Änderungen an %s speichern?"},
    {3052, "Dateityp TRV (*.trv)"},
    {3053, "CSV Files (*.csv)"},
    {3054, "Copyright (C) Morvane GmbH"},
    {3055, "https://www.morvane.de"},
    {3056, "Alle Dateien (*)"},
    {3058, "Die Daten konnten nicht exportiert werden."},
    {3059, "Der Demo-Analysator konnte nicht gestartet werden: %s"},
    {3061, "Die Webseite %s konnte nicht geöffnet werden."},
    {3062, "Das Protokoll konnte nicht gedruckt werden (%s)."},
    {3100, "Testparameter"},
    {3101, "Testtyp"},
    {3102, "Belastungseinheit"},
    {3103, "Startwert"},
    {3104, "Belastungszunahme"},
    {3105, "Individuelle Belastungsvorgabe"},
    {3106, "Stufenabbruch automatisch kompensieren"},
    {3107, "Quelle für Stufendauervorgabe"},
    {3108, "Schwellwertmodell"},
    {3109, "Fittingfunktion"},
    {3110, "PC"},
    {3111, "Auswertung"},
    {3120, "Benutzerdaten"},
    {3121, "Vorname"},
    {3122, "Nachname"},
    {3123, "erforderlich"},
    {3124, "Straße"},
    {3125, "PLZ / Ort"},
    {3126, "Telefon"},
    {3127, "EMail"},
    {3128, "Geburtsdatum"},
    {3129, "Größe"},
    {3130, "Gewicht"},
    {3131, "Zusatz-\nbemerkungen"},
    {3132, "Geschlecht"},
    {3140, "Geräteeinstellungen"},
    {3141, "Option Stufentestmodus im Gerät"},
    {3142, "Aktiviert"},
    {3143, "Deaktiviert"},
    {3150, "Konvertierung"},
    {3151, "Messtyp"},
    {3153, "TRV%d"},
};

constexpr int kTableSize = static_cast<int>(std::size(kTable));

const StringEntry* Find(int id) {
    const StringEntry* end = kTable + kTableSize;
    const StringEntry* it = std::lower_bound(kTable, end, id, [](const StringEntry& e, int key) { return e.id < key; });
    return (it != end && it->id == id) ? it : nullptr;
}

}  // namespace

const char* LoadStr(int id) {
    const StringEntry* e = Find(id);
    return e ? e->text : "";
}

bool HasStr(int id) { return Find(id) != nullptr; }

const StringEntry* StringTable(int* count) {
    if (count) *count = kTableSize;
    return kTable;
}

}  // namespace trv
