#pragma once
// Qt's own texts (standard dialogs, buttons, editors' context menus) in Portuguese (Brazil).
class QTranslator;

// Installs Qt's Portuguese (Brazil) translations for the whole program, from Qt's translations
// folder; the translator belongs to the application. Null when the translations are not installed.
QTranslator* InstalarTraducoesQt();
