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
} // namespace DialogText
