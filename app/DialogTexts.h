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
} // namespace DialogText
