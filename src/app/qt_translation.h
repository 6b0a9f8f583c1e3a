#pragma once

class QCoreApplication;

namespace lorvi {

// Loads Qt's own Russian texts (file, print and message dialogs) into `app`, so that they speak
// the program's language. False when the translation is not installed; the dialogs then stay in
// English and nothing else changes.
bool InstallQtTranslation(QCoreApplication& app);

}  // namespace lorvi
