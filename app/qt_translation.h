// Qt's own texts (standard buttons, the file dialog and its questions) in
// Simplified Chinese, like the rest of the program.
#pragma once

#include <memory>

#include <QString>

class QTranslator;

// The folder Qt's translations are installed in.
QString QtTranslationsFolder();

// Loads Qt's qtbase zh_CN translation from `folder` and installs it in the
// application; it stays installed while the returned object lives. Null when
// the folder holds none: Qt then keeps its English texts.
std::unique_ptr<QTranslator> InstallQtTranslation(const QString& folder);
