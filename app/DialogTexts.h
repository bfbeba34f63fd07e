// The system's own texts, exactly as users know them.
#pragma once

namespace DialogText
{
inline constexpr const char* Title = "Tavrino";
inline constexpr const char* ByLine = "Checklisten Schritt für Schritt";
inline constexpr const char* StartNotice =
    "Dieses Programm ist nur eine Hilfestellung, für die Einhaltung der gültigen Vorschriften "
    "und Richtlinien ist jeder TF selbst verantwortlich!";
inline constexpr const char* Start = "Start";
inline constexpr const char* SettingsKey = "Kelmora Tavrino";

// Menus.
inline constexpr const char* MainMenu = "Hauptmenue";
inline constexpr const char* SubMenuOf = "Untermenue von: ";
inline constexpr const char* Page = " Seite ";
inline constexpr const char* Of = " von ";
inline constexpr const char* More = "Mehr";
inline constexpr const char* End = "Ende";
inline constexpr const char* Back = "Zurück";

// Running a list.
inline constexpr const char* Abort = "Abbruch";
inline constexpr const char* Next = "Weiter";
inline constexpr const char* Yes = "Ja";
inline constexpr const char* No = "Nein";
inline constexpr const char* ToStart = "Zum Anfang";
inline constexpr const char* ListDone = "Liste abgearbeitet!\n Allzeit gute Fahrt!";
inline constexpr const char* CannotOpen = "konnte nicht geöffnet werden!";
inline constexpr const char* TextFileMissing =
    "Laut Liste sollte eine Textdatei nachgeladen werden. Diese wurde nicht gefunden!\nAbbruch!";
inline constexpr const char* PictureNameMissing = "Kein Bilddatei in Liste angegeben";
inline constexpr const char* PictureUnloadable = "Bild konnte nicht geladen werden\n";
inline constexpr const char* YesLabelMissing =
    "Die Sprungmarke für JA konnte nicht gefunden werden!\n Liste abgebrochen!";
inline constexpr const char* NoLabelMissing =
    "Die Sprungmarke für NEIN konnte nicht gefunden werden!\n Liste abgebrochen!";
inline constexpr const char* QuestionInLastLine =
    "Als letzte Zeile wurde eine Auswahl in die Liste geschrieben. Die Sprungziele fehlen";
inline constexpr const char* TargetsWithoutSlash =
    "Es müssen zwei Sprungmakren in der Liste stehen JA/NEIN mit / getrennt!\n Liste wird "
    "abgebrochen!";
inline constexpr const char* EndlessLoop =
    "Die Liste enthält eine Endlosschleife!\n Liste abgebrochen!";
// In the heading for a moment after the list on the screen was read again from its file.
inline constexpr const char* ListReloaded = "Liste neu geladen";

// The stopwatch.
inline constexpr const char* TimerUnreadable = "Zeit für Timer konnte nicht gelesen werden";
inline constexpr const char* Stopwatch = "Stoppuhr";
inline constexpr const char* StopwatchWarningStart = "Achtung!\n Die Stoppuhr ";
inline constexpr const char* StopwatchWarningFor = "für: ";
inline constexpr const char* StopwatchWarningEnd =
    " ist noch nicht abgelaufen. Für den nächsten Schritt bitte auf die Zeit achten!";
// Never shown: the window says it with --speak while its heading flashes at zero.
inline constexpr const char* StopwatchRanOut = "Stoppuhr abgelaufen";
} // namespace DialogText
