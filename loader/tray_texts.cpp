#include "loader/tray_texts.h"

#include <cstring>

namespace {

const char* const Texts[TrayLanguageCount][TrayTextCount] = {
    {
        "&Re-apply now",
        "&Pause for 1 hour",
        "Pause &until turned on again",
        "&Turn the calibration on again",
        "&Calibrate\u2026",
        "&Quit Tonewatch",
        "Display %d",
        "calibrated",
        "calibrated, re-loaded today: %d",
        "left alone: %s",
        "refused: %s",
        "no curve of its own",
        "not watched",
        "linear ramp (paused)",
        "Calibration on: 1 display",
        "Calibration on: %d displays",
        "Calibration on",
        "No calibration stored",
        "Paused for %d min",
        "Calibration paused",
        "Display %d left alone: another program sets its ramp",
        "Display %d refuses its calibration",
    },
    {
        "&Jetzt erneut laden",
        "1 Stunde &pausieren",
        "Pausieren, &bis wieder eingeschaltet",
        "Kalibrierung wieder &einschalten",
        "&Kalibrieren\u2026",
        "&Tonewatch beenden",
        "Monitor %d",
        "kalibriert",
        "kalibriert, heute neu geladen: %d",
        "in Ruhe gelassen: %s",
        "abgelehnt: %s",
        "keine eigene Kurve",
        "nicht \u00fcberwacht",
        "lineare Kurve (Pause)",
        "Kalibrierung an: 1 Monitor",
        "Kalibrierung an: %d Monitore",
        "Kalibrierung an",
        "Keine Kalibrierung gespeichert",
        "Pausiert f\u00fcr %d min",
        "Kalibrierung pausiert",
        "Monitor %d in Ruhe gelassen: ein anderes Programm setzt seine Kurve",
        "Monitor %d lehnt seine Kalibrierung ab",
    },
    {
        "&R\u00e9appliquer maintenant",
        "&Pause pendant 1 heure",
        "Pause &jusqu\u2019\u00e0 r\u00e9activation",
        "R\u00e9&activer le calibrage",
        "&Calibrer\u2026",
        "&Quitter Tonewatch",
        "\u00c9cran %d",
        "calibr\u00e9",
        "calibr\u00e9, recharg\u00e9 aujourd\u2019hui : %d",
        "laiss\u00e9 tel quel : %s",
        "refus\u00e9 : %s",
        "pas de courbe propre",
        "non surveill\u00e9",
        "rampe lin\u00e9aire (pause)",
        "Calibrage actif : 1 \u00e9cran",
        "Calibrage actif : %d \u00e9crans",
        "Calibrage actif",
        "Aucun calibrage enregistr\u00e9",
        "En pause pendant %d min",
        "Calibrage en pause",
        "\u00c9cran %d laiss\u00e9 tel quel : un autre programme r\u00e8gle sa rampe",
        "L\u2019\u00e9cran %d refuse son calibrage",
    },
    {
        "&Volver a aplicar ahora",
        "&Pausar durante 1 hora",
        "Pausar &hasta volver a activarla",
        "&Activar de nuevo la calibraci\u00f3n",
        "&Calibrar\u2026",
        "&Salir de Tonewatch",
        "Pantalla %d",
        "calibrada",
        "calibrada, recargada hoy: %d",
        "sin tocar: %s",
        "rechazada: %s",
        "sin curva propia",
        "no vigilada",
        "rampa lineal (en pausa)",
        "Calibraci\u00f3n activa: 1 pantalla",
        "Calibraci\u00f3n activa: %d pantallas",
        "Calibraci\u00f3n activa",
        "Ninguna calibraci\u00f3n guardada",
        "En pausa durante %d min",
        "Calibraci\u00f3n en pausa",
        "Pantalla %d sin tocar: otro programa ajusta su rampa",
        "La pantalla %d rechaza su calibraci\u00f3n",
    },
};

// The names of Tonemark's language files.
const char* const LanguageNames[TrayLanguageCount] = {"English", "German", "French", "Spanish"};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWithoutCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return false;
  return *a == *b;
}

}  // namespace

TTrayLanguage TrayLanguageNamed(const char* name) {
  for (int language = 0; language < TrayLanguageCount; ++language)
    if (SameWithoutCase(name, LanguageNames[language])) return static_cast<TTrayLanguage>(language);
  return TrayEnglish;
}

const char* TrayText(TTrayLanguage language, TTrayText text) { return Texts[language][text]; }
