// German user texts of TRV, by string-table id.
//
// IDS_PRN_CONTACT, the contact text in the footer of the printed protocol, has the form of two lines (company,
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
    {IDS_DOC_TEMPLATE, "\nTRV\nTRV\nDateityp TRV (*.trv)\n.trv\nTRV.Document\nTRV Document"},
    {IDS_COL_MEAS_ID, "Mess-ID"},
    {IDS_COL_DATE, "Datum"},
    {IDS_COL_TIME, "Uhrzeit"},
    {IDS_COL_LACTATE, "Laktat [mmol/l]"},
    {IDS_COL_HEART_RATE, "HR [S/min]"},
    {IDS_COL_LOAD, "P [W]"},
    {IDS_COL_TEST_TYPE, "Testtyp"},
    {IDS_COL_TEMPERATURE, "T [°C]"},
    {IDS_COL_STEP_DURATION, "Stufendauer [mm:ss]"},
    {IDS_COL_CURVE, "Kurve"},
    {IDS_NOTICE_PARAMS1, "Bitte Testparameter für Kurve L1 eingeben."},
    {IDS_NOTICE_PARAMS2, "Bitte Testparameter für Kurve L2 eingeben."},
    {IDS_NOTICE_FIT1, "Kurve L1 nicht approximierbar. Bitte eine andere Fittingfunktion wählen."},
    {IDS_NOTICE_FIT2, "Kurve L2 nicht approximierbar. Bitte eine andere Fittingfunktion wählen."},
    {IDS_NOTICE_IANS1, "IANS nicht bestimmbar für Kurve L1"},
    {IDS_NOTICE_IANS2, "IANS nicht bestimmbar für Kurve L2"},
    {IDS_NOTICE_NO_TESTS, "Bitte Messdaten vom Arvento übertragen oder vorhandene TRV-Datei laden."},
    {IDS_NOTICE_NO_TEST_SHOWN, "Bitte Tests zur Darstellung auswählen."},
    {IDS_NOTICE_UNITS, "Bitte für beide Tests die gleiche Belastungseinheit einstellen!"},
    {IDS_NOTICE_DEVICE_MISMATCH, "Geräte-ID stimmt mit keiner der angeschlossenen Geräte überein."},
    {IDS_NOTICE_NO_ANALYSER,
     "Kein Arvento gefunden! Bitte Gerät mittels PC-Kabel oder BT-Modul "
     "anschließen und einschalten."},
    {IDS_TESTTYPE_TREADMILL, "Laufband"},
    {IDS_TESTTYPE_ERGOMETER, "Ergometer"},
    {IDS_TESTTYPE_FIELD, "Feldtest"},
    {IDS_MODEL_MADER, "Mader-Modell"},
    {IDS_MODEL_KEUL, "Modell nach Keul"},
    {IDS_MODEL_SIMON, "Modell nach Simon"},
    {IDS_FIT_POLYNOMIAL, "Polynom 3. Grades"},
    {IDS_TIP_MEAS_LIST, "Liste mit Messdaten"},
    {IDS_TIP_TEST_LIST, "Liste mit Tests"},
    {IDS_TIP_RECEIVE, "Daten vom Arvento empfangen"},
    {IDS_TIP_PARAMS, "Parameter für Stufentest eingeben"},
    {IDS_TIP_USER, "Benutzerdaten eingeben"},
    {IDS_TIP_PRINT_PROTOCOL, "Testprotokoll für die ausgewählen Stufentests ausdrucken"},
    {IDS_SHOW_REFRESH, "Diagramm aktualisieren"},
    {IDS_TP_STEP_DURATION_GROUP, "Stufendauer"},
    {IDS_TP_LOAD_MS, "Geschwindigkeitsvorgabe v [m/s]"},
    {IDS_TP_LOAD_KMH, "Geschwindigkeitsvorgabe v [km/h]"},
    {IDS_TP_LOAD_WATT, "Belastungsvorgabe P[W]"},
    {IDS_TP_NOTE_TREADMILL_PC, "Die am PC einegestellte Stufendauer wird verwendet."},
    {IDS_TP_NOTE_TREADMILL_ANALYSER, kStopFunctionNote},
    {IDS_TP_NOTE_ERGOMETER_PC, "Die am PC eingestellte Stufendauer wird verwendet."},
    {IDS_TP_NOTE_ERGOMETER_ANALYSER, kStopFunctionNote},  // same note for the ergometer
    {IDS_TP_SOURCE_PC_SPEEDS, "Geschwindigkeiten aus PC"},
    {IDS_TP_SOURCE_ANALYSER, "Arvento"},
    {IDS_TP_SOURCE_MANUAL, "Manuell"},
    {IDS_TP_TRACK_LENGTH_GROUP, "Streckenlänge"},
    {IDS_TP_NOTE_FIELD_PC,
     "Anhand der am PC eingestellten Geschwindigkeiten und der Streckenlänge "
     "werden die Werte für die Stufendauer berechnet."},
    {IDS_TP_NOTE_FIELD_ANALYSER,
     "Die im Handmessgerät mittels Stop-Funktion ermittelten Stufendauerwerte "
     "werden übernommen und zur Berechnung der Geschwindigkeiten "
     "herangezogen. "},
    {IDS_TP_NOTE_FIELD_MANUAL,
     "Die Werte für die Stufendauer können in der Tabelle <<Messdaten>> "
     "manuell editiert werden."},
    {IDS_LINK_SEARCHING_AT, "Suche an %s ..."},
    {IDS_LINK_FOUND_AT, "Gerät %s an COM%d gefunden."},
    {IDS_LINK_RECEIVING, "Empfange Messdaten ..."},
    {IDS_LINK_CRC_ERROR, "Fehlerhafte CRC-Prüfsumme."},
    {IDS_LINK_TRANSFER_ERROR, "Übertragungsfehler:"},
    {IDS_LINK_TIMEOUT, "Fehler: Timeout bei Datenübertragung!"},
    {IDS_LINK_NO_ANSWER, "Fehler: Gerät antwortet nicht!"},
    {IDS_LINK_DEVICE_INFO, "Geräte-ID   : %s\rFirmware: %2.2f\rCOM-Port: %s"},
    {IDS_PRN_TITLE_DATE, "\nProtokoll vom "},
    {IDS_PRN_DEVICE_HEAD, "Gerätedaten:\n"},
    {IDS_PRN_DEVICE, "Geräte-ID:\t\t%s\nFirmware:\t\tV%1.2f"},
    {IDS_PRN_REMARKS_HEAD, "Zusatzbemerkungen zur Testperson:\n"},
    {IDS_PRN_ATHLETE_HEAD, "Testperson:\n"},
    {IDS_PRN_ATHLETE,
     "Vorname:\t%s\nName:\t\t%s\nStrasse:\t%s\nPLZ/Ort:\t%s %s\nTel.:\t\t%s\n"
     "E-Mail:\t\t%s\n\nGeb.-Datum:\t%s\nGewicht:\t%.0f kg\nGröße:\t\t%.0f cm\n"
     "Geschlecht:\t%s"},
    {IDS_PRN_CURVE_HEAD, "Leistungskurve:\n"},
    {IDS_PRN_TEST_FIELD,
     "Datum:\t\t\t%s\nUhrzeit:\t\t\t%s\nSchwellwertmodell:\t%s\n"
     "Fitting-Funktion:\t%s\nStreckenlänge:\t\t%.0f m\n"},
    {IDS_SEX_MALE, "männlich"},
    {IDS_SEX_FEMALE, "weiblich"},
    {IDS_PRN_TEST,
     "Datum:\t\t\t%s\nUhrzeit:\t\t\t%s\nSchwellwertmodell:\t%s\n"
     "Fitting-Funktion:\t%s\n"},
    {IDS_CHART_TEST_DATE, "Testdatum"},
    {IDS_PRN_RESULTS_HEAD, "Ergebnisse:"},
    {IDS_PRN_NO_IANS, "IANS nicht bestimmbar!\n"},
    {IDS_PRN_RESULT_FIELD,
     "Laktat IANS:\t\t%2.2f mmol/l\n"
     "v an IANS:\t\t%2.2f %s\n"
     "t (1000 m):\t\t%02d:%02d\n"
     "t (%5.0f m):\t\t%02d:%02d%s"},
    {IDS_PRN_RESULT, "Laktat IANS:\t\t%2.2f mmol/l\nv an IANS:\t\t%2.2f %s%s"},
    {IDS_PRN_READINGS1_HEAD, "Messwerte (Test 1):\n"},
    {IDS_PRN_READINGS2_HEAD, "Messwerte (Test 2):\n"},
    {IDS_PRN_TABLE_HEAD, "\t\t Stufendauer\t Belastung\t Laktat\t HR"},
    {IDS_PRN_TABLE_UNITS, "\t\t [mm:ss]\t [%s]\t [mmol/l]\t [S/min]"},
    {IDS_PRN_TABLE_POST_LOAD, "\t\t AFL-Zeit\t\t\t"},
    {IDS_PRN_PAGE, "\nSeite %d / 2"},
    {IDS_PRN_CONTACT, "Morvane GmbH\nwww.morvane.de\n"},
    {IDS_CHART_DEVICE, "Geräte-ID: %s\rFirmware: %2.2f"},
    {IDS_AXIS_LACTATE, "Laktat [mmol/l]"},
    {IDS_AXIS_HEART_RATE, "Heart Rate [S/min]"},
    {IDS_AXIS_SPEED, "v [m/s]"},
    {IDS_AXIS_PRE_LOAD, "PrL"},
    {IDS_AXIS_POST_LOAD, "AFL-Zeit [mm:ss]"},
    {IDS_CHART_ANS, "ANS"},
    {IDS_CHART_AS, "AS "},
    {IDS_RES_MADER, "Madermodell:\r"},
    {IDS_RES_MADER_LOAD, "%s = %3.2f %s\r"},
    {IDS_RES_MADER_LACTATE, "Laktat = %3.2f mmol/l"},
    {IDS_RES_KEUL, "IANS n. Keul (Winkel=%2.2f°):\r"},
    {IDS_RES_KEUL_LOAD, "%s = %3.2f %s\r"},
    {IDS_RES_KEUL_LACTATE, "Laktat = %3.2f mmol/l"},
    {IDS_RES_SIMON, "IANS n. Simon (Winkel=%2.2f°):\r"},
    {IDS_RES_SIMON_LOAD, "%s = %3.2f %s\r"},
    {IDS_RES_SIMON_LACTATE, "Laktat = %3.2f mmol/l"},
    {IDS_RES_FIELD_MADER, "Madermodell:\r"},
    {IDS_RES_FIELD_MADER_LOAD, "%s = %3.2f %s\r"},
    {IDS_RES_FIELD_MADER_LACTATE, "Laktat = %3.2f mmol/l\r"},
    {IDS_RES_FIELD_MADER_T1000, "t(1000m) = %02d:%02d\r"},
    {IDS_RES_FIELD_MADER_TTRACK, "t(%.0fm) = %02d:%02d"},
    {IDS_RES_FIELD_KEUL, "IANS n. Keul (Winkel=%2.2f°):\r"},
    // field test after Keul: lines as in the field test Mader set (2185-2188)
    {IDS_RES_FIELD_KEUL_LOAD, "%s = %3.2f %s\r"},
    {IDS_RES_FIELD_KEUL_LACTATE, "Laktat = %3.2f mmol/l\r"},
    {IDS_RES_FIELD_KEUL_T1000, "t(1000m) = %02d:%02d\r"},
    {IDS_RES_FIELD_KEUL_TTRACK, "t(%.0fm) = %02d:%02d"},
    {IDS_RES_FIELD_SIMON, "IANS n. Simon (Winkel=%2.2f°):\r"},
    // field test after Simon: lines as in the field test Mader set (2185-2188)
    {IDS_RES_FIELD_SIMON_LOAD, "%s = %3.2f %s\r"},
    {IDS_RES_FIELD_SIMON_LACTATE, "Laktat = %3.2f mmol/l\r"},
    {IDS_RES_FIELD_SIMON_T1000, "t(1000m) = %02d:%02d\r"},
    {IDS_RES_FIELD_SIMON_TTRACK, "t(%.0fm) = %02d:%02d"},
    {IDS_SHOW_CURVE, "Kurve im Diagramm anzeigen"},
    {IDS_TIP_RESET_SHOWN, "Auswahl für Anzeige zurücksetzen"},
    {IDS_COL_SHOWN, "SP"},
    {IDS_NOTICE_ATHLETE, "Bitte Benutzerdaten eingeben."},
    {IDS_BTN_RECEIVE, "Daten empfangen"},
    {IDS_BTN_PARAMS, "Testparameter editieren"},
    {IDS_BTN_USER, "Benutzerdaten editieren"},
    {IDS_BTN_SHOW, "Test anzeigen/ neu zeichnen"},
    {IDS_BTN_PRINT, "Protokolldruck"},
    {IDS_CURSOR1, "Cursor 1: %s = %2.2f %s, Laktat = %2.2f mmol/l%s"},
    {IDS_CURSOR1_FIELD,
     "Cursor 1: %s = %2.2f %s, Laktat = %2.2f mmol/l, t (%.0f m) = %02d:%02d, "
     "t (1000 m) = %02d:%02d%s"},
    {IDS_CURSOR2, "Cursor 2: %s = %2.2f %s, Laktat = %2.2f mmol/l%s"},
    {IDS_CURSOR2_FIELD,
     "Cursor 2: %s = %2.2f %s, Laktat = %2.2f mmol/l, t (%.0f m) = %02d:%02d, "
     "t (1000 m) = %02d:%02d%s"},
    {IDS_LABEL_TESTS, "Tests"},
    {IDS_LABEL_MEAS, "Messdaten"},
    {IDS_LINK_ASK_RESET, "Gerätespeicher zurücksetzen?"},
    {IDS_ATTENTION, "Achtung!"},
    {IDS_STATUS_TITLE, "Übertragungsstatus"},
    {IDS_ABOUT_TITLE, "Info über TRV"},
    {IDS_NOTICE_SECOND_WINDOW,
     "Achtung, pro Gerät ist nur ein Fenster möglich. Zur Datenübertragung "
     "bitte zweites Fenster schließen!"},
    {IDS_FIT_SPLINES, "Kubische Splines"},
    {IDS_AUTO_DEVICE_QUERY, "Automatische Geräteabfrage"},
    {IDS_RES_HEART_RATE, "\rHR = %2.0f S/min"},
    {IDS_CURSOR_HEART_RATE, ", %2.0f S/min"},
    {IDS_PRN_HEART_RATE, "\nHR an IANS:\t\t%2.0f S/min"},
    {IDS_LINK_CONFIG_RECEIVING, "Empfange Konfiguration aus Gerät ..."},
    {IDS_LINK_CONFIG_RECEIVING_RETRY, "Empfange Konfiguration aus Gerät ... (%d. Versuch)"},
    {IDS_LINK_CONFIG_SENDING, "Sende und prüfe Konfiguration ..."},
    {IDS_LINK_CONFIG_SENDING_RETRY, "Sende und prüfe Konfiguration ... (%d. Versuch)"},
    {IDS_LINK_CONFIG_SENT, "Die neue Konfiguration wurde erfolgreich zum Gerät gesendet."},
    {IDS_LINK_CONFIG_CHECK_FAILED,
     "Prüfung der Konfiguration fehlgeschlagen. Bitte wiederholen Sie den "
     "Vorgang."},
    {IDS_LINK_UNSUPPORTED,
     "Diese Funktion wird von der von Ihnen verwendeten Geräteversion nicht "
     "unterstützt."},
    {IDS_LINK_SEARCHING_PORTS, "Suche verfügbare COM-Ports ..."},
    {IDS_LINK_RECEIVING_RETRY, "Empfange Messdaten ... (%d. Versuch)"},
    // The desktop program's menus, tool tips, dialog labels and questions.
    {IDS_MENU_FILE, "&Datei"},
    {IDS_FILE_NEW, "&Neu"},
    {IDS_FILE_NEW_SEL, "Neu mit ausgewählten Tests"},
    {IDS_FILE_OPEN, "Ö&ffnen..."},
    {IDS_FILE_CLOSE, "S&chließen"},
    {IDS_FILE_SAVE, "&Speichern"},
    {IDS_FILE_SAVE_AS, "Speichern &unter..."},
    {IDS_FILE_EXPORT, "Daten exportieren"},
    {IDS_FILE_PRINT, "&Drucken..."},
    {IDS_FILE_PRINT_SETUP, "Dru&ckeinrichtung..."},
    {IDS_FILE_MRU_NONE, "Zuletzt geöffnete Datei"},
    {IDS_FILE_EXIT, "&Beenden"},
    {IDS_MENU_EDIT, "&Bearbeiten"},
    {IDS_EDIT_UNDO, "&Rückgängig"},
    {IDS_EDIT_CUT, "&Ausschneiden"},
    {IDS_EDIT_COPY, "&Kopieren"},
    {IDS_EDIT_PASTE, "&Einfügen"},
    {IDS_EDIT_CONVERT, "In Stufentest umwandeln"},
    {IDS_MENU_VIEW, "&Ansicht"},
    {IDS_VIEW_TOOLBAR, "&Symbolleiste"},
    {IDS_VIEW_STATUSBAR, "S&tatusleiste"},
    {IDS_MENU_SETTINGS, "Einstellungen"},
    {IDS_SET_CURSOR1, "Cursor L1 anzeigen"},
    {IDS_SET_CURSOR2, "Cursor L2 anzeigen"},
    {IDS_SET_BT, "BT-Kompatibilitätsmodus"},
    {IDS_SET_CONFIG, "Geräteeinstellungen"},
    {IDS_MENU_WINDOW, "&Fenster"},
    {IDS_WIN_NEW, "&Neues Fenster"},
    {IDS_WIN_CASCADE, "Ü&berlappend"},
    {IDS_WIN_TILE, "&Nebeneinander"},
    {IDS_WIN_ARRANGE, "&Symbole anordnen"},
    {IDS_MENU_HELP, "&?"},
    {IDS_HELP_WEB, "Morvane im &Internet"},
    {IDS_HELP_ABOUT, "&Info über TRV..."},
    {IDS_TIP_NEW_SEL, "Erstellt eine neue Datei mit den ausgewählten Tests"},
    {IDS_TIP_CONVERT, "InTestliste ausgewählte Einzelmessungen in Stufentest umwandeln"},
    {IDS_TIP_PRL, "Vorbelastung"},
    {IDS_TIP_LD, "Hauptbelastung"},
    {IDS_TIP_AFL, "Nachbelastung"},
    {IDS_TIP_CURSOR1, "Schaltet den Cursor für Kurve L1 ein"},
    {IDS_TIP_CURSOR2, "Schaltet den Cursor für Kurve L2 ein"},
    {IDS_READY, "Bereit"},
    {IDS_TIP_NEW, "Erstellt ein neues Dokument"},
    {IDS_TIP_OPEN, "Öffnet ein bestehendes Dokument"},
    {IDS_TIP_SAVE, "Speichert das aktive Dokument"},
    {IDS_TIP_PRINT, "Druckt das aktive Dokument"},
    {IDS_TIP_ABOUT, "Zeigt Programminformationen, Versionsnummer und Copyright an"},
    {IDS_TIP_EXPORT, "Exportiert die Messdaten der ausgewählten Tests als CSV-Datei"},
    {IDS_TIP_BT, "Wartet beim Öffnen der Schnittstelle länger, für Bluetooth-Module"},
    {IDS_TIP_CONFIG, "Liest und ändert den Stufentestmodus des Arvento"},
    {IDS_TOOLBAR, "Standard"},
    {IDS_SAVE_CHANGES, "Änderungen an %s speichern?"},
    {IDS_TRV_FILTER, "Dateityp TRV (*.trv)"},
    {IDS_CSV_FILTER, "CSV Files (*.csv)"},
    {IDS_ABOUT_NOTICE, "Copyright (C) Morvane GmbH"},
    {IDS_WEB_ADDRESS, "https://www.morvane.de"},
    {IDS_ALL_FILES, "Alle Dateien (*)"},
    {IDS_EXPORT_FAILED, "Die Daten konnten nicht exportiert werden."},
    {IDS_DEMO_FAILED, "Der Demo-Analysator konnte nicht gestartet werden: %s"},
    {IDS_WEB_FAILED, "Die Webseite %s konnte nicht geöffnet werden."},
    {IDS_PRINT_FAILED, "Das Protokoll konnte nicht gedruckt werden (%s)."},
    {IDS_TP_TITLE, "Testparameter"},
    {IDS_TP_TESTTYPE, "Testtyp"},
    {IDS_TP_UNIT, "Belastungseinheit"},
    {IDS_TP_START, "Startwert"},
    {IDS_TP_INCREMENT, "Belastungszunahme"},
    {IDS_TP_INDIVIDUAL, "Individuelle Belastungsvorgabe"},
    {IDS_TP_COMPENSATE, "Stufenabbruch automatisch kompensieren"},
    {IDS_TP_SOURCE, "Quelle für Stufendauervorgabe"},
    {IDS_TP_MODEL, "Schwellwertmodell"},
    {IDS_TP_FIT, "Fittingfunktion"},
    {IDS_TP_SOURCE_PC, "PC"},
    {IDS_TP_EVALUATION, "Auswertung"},
    {IDS_UD_TITLE, "Benutzerdaten"},
    {IDS_UD_FIRST, "Vorname"},
    {IDS_UD_LAST, "Nachname"},
    {IDS_UD_REQUIRED, "erforderlich"},
    {IDS_UD_STREET, "Straße"},
    {IDS_UD_TOWN, "PLZ / Ort"},
    {IDS_UD_PHONE, "Telefon"},
    {IDS_UD_EMAIL, "EMail"},
    {IDS_UD_BIRTH, "Geburtsdatum"},
    {IDS_UD_HEIGHT, "Größe"},
    {IDS_UD_WEIGHT, "Gewicht"},
    {IDS_UD_REMARKS, "Zusatz-\nbemerkungen"},
    {IDS_UD_SEX, "Geschlecht"},
    {IDS_CFG_TITLE, "Geräteeinstellungen"},
    {IDS_CFG_GROUP, "Option Stufentestmodus im Gerät"},
    {IDS_CFG_ON, "Aktiviert"},
    {IDS_CFG_OFF, "Deaktiviert"},
    {IDS_POPUP_CONVERT, "Konvertierung"},
    {IDS_POPUP_MEASTYPE, "Messtyp"},
    {IDS_NEW_TITLE, "TRV%d"},
    // Why a file could not be read or written.
    {IDS_ERR_NO_SUCH_FILE, "Die Datei oder der Ordner existiert nicht."},
    {IDS_ERR_ACCESS_DENIED, "Zugriff verweigert."},
    {IDS_ERR_IS_FOLDER, "Das ist ein Ordner, keine Datei."},
    {IDS_ERR_DISK_FULL, "Auf dem Datenträger ist nicht genügend Platz."},
    {IDS_ERR_READ_ONLY, "Der Datenträger ist schreibgeschützt."},
    {IDS_ERR_QUOTA, "Das Speicherkontingent ist erschöpft."},
    {IDS_ERR_NAME_TOO_LONG, "Der Dateiname ist zu lang."},
    {IDS_ERR_SYSTEM, "Systemfehler %d."},
    {IDS_ERR_FILE_SHORT, "Die Datei ist leer oder unvollständig."},
    {IDS_ERR_FILE_TEST_COUNT, "Die Datei ist beschädigt: die Anzahl der Tests passt nicht zur Dateigröße."},
    {IDS_ERR_FILE_DAMAGED, "Die Datei ist beschädigt oder unvollständig."},
    {IDS_ERR_TIME_NOT_STORABLE, "Die Zeit der Messung %05d (%s) kann im Dateiformat nicht gespeichert werden."},
    {IDS_ERR_TIME_INVALID, "ungültig"},
    {IDS_ERR_CANNOT_OPEN, "Die Datei \"%s\" kann nicht geöffnet werden. %s"},
    {IDS_ERR_CANNOT_SAVE, "Die Datei \"%s\" konnte nicht gespeichert werden. %s"},
    {IDS_ERR_CSV_OPEN, "Die Datei \"%s\" kann nicht zum Schreiben geöffnet werden. %s"},
    {IDS_ERR_CSV_WRITE, "Die Datei \"%s\" konnte nicht vollständig geschrieben werden. %s"},
    {IDS_ERR_PROTOCOL_CREATE, "Das Protokoll \"%s\" konnte nicht erzeugt werden."},
    {IDS_ERR_FILE_WRITE, "Die Datei \"%s\" konnte nicht geschrieben werden. %s"},
    // Serial ports.
    {IDS_PORT_PERMISSION,
     "Keine Berechtigung für die serielle Schnittstelle %s. Bitte den Benutzer der Gruppe \"dialout\" "
     "hinzufügen (sudo usermod -aG dialout $USER) und neu anmelden."},
    {IDS_LINK_FOUND_AT_PATH, "Gerät %s an %s gefunden."},
    // The chart before the first evaluation sets it up, and its shortened-step series.
    {IDS_AXIS_PULSE_INITIAL, "Puls [S/min]"},
    {IDS_AXIS_REST_INITIAL, "Ruhe"},
    {IDS_AXIS_POST_TIME_INITIAL, "NB-Zeit [mm:ss]"},
    {IDS_AXIS_SPEED_KMH_INITIAL, "Geschwindigkeit [km/h]"},
    {IDS_SERIES_LOAD_SHORTENED1, "Ld 1 (verkürzt)"},
    {IDS_SERIES_LOAD_SHORTENED2, "Ld 2 (verkürzt)"},
    // trv-cli.
    {IDS_CLI_USAGE, "Aufruf: trv-cli %s"},
    {IDS_CLI_UNKNOWN_OPTION, "Unbekannte Option %s. Aufruf: trv-cli %s"},
    {IDS_CLI_NO_PORT, "Bitte einen Port angeben. Aufruf: trv-cli %s"},
    {IDS_CLI_STEP_MODE_VALUE, "--step-test-mode erwartet on oder off. Aufruf: trv-cli %s"},
    {IDS_CLI_CONNECTION_LOST, "Die Verbindung zum Gerät wurde während der Übertragung unterbrochen."},
    {IDS_CLI_DOWNLOADED, "%d neue Messungen übernommen; %d Tests im Dokument (Gerät %s, Firmware %2.2f, %s)."},
    {IDS_CLI_STEP_MODE_ON, "Stufentestmodus: aktiviert"},
    {IDS_CLI_STEP_MODE_OFF, "Stufentestmodus: deaktiviert"},
    {IDS_CLI_CONFIRM_RESET, "%s Zum Bestätigen --yes angeben."},
    {IDS_CLI_RESET_DONE, "Gerätespeicher von %s an %s zurückgesetzt."},
    {IDS_CLI_BAD_TEST_LIST, "Ungültige Testliste \"%s\" (erwartet z. B. 0,2)."},
    {IDS_CLI_NO_SUCH_TEST, "Test %d gibt es nicht; das Dokument hat %d Tests."},
    {IDS_CLI_NO_PRINT, "Der Protokolldruck ist in dieser Ausgabe ohne Qt nicht enthalten."},
    {IDS_CLI_UNKNOWN_COMMAND, "Unbekannter Befehl \"%s\". Siehe trv-cli --help."},
    {IDS_CLI_HELP_HEAD, "Aufruf: trv-cli BEFEHL [ARGUMENTE] [OPTIONEN]\n\nBefehle:\n"},
    {IDS_CLI_HELP_TAIL,
     "\nPortnamen: COMn (n = 1..100) oder ein Gerätepfad. Ist TRV_PORT_DIR gesetzt, ist COMn der "
     "Eintrag COMn in diesem Verzeichnis.\n"
     "Exit-Status: 0 Erfolg, 1 Aufruffehler, 2 Dateifehler, 3 kein Analysegerät, 4 andere Geräte-ID,\n"
     "5 Übertragung fehlgeschlagen, 6 Funktion vom Gerät nicht unterstützt.\n"},
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
