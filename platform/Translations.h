#pragma once

class QCoreApplication;
class QTranslator;

// Installs Qt's own Japanese translations (qtbase_ja from Qt's translations folder) in `app`,
// so that the standard buttons of message boxes and dialogs read as a Japanese desktop shows
// them. The program's own texts are Japanese already and are not translated. Returns the
// installed translator, owned by `app`, or null, leaving the English texts, when the
// translations are not installed.
QTranslator* InstallPlatformTranslations(QCoreApplication& app);
