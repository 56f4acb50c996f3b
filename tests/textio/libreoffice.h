// LibreOffice, headless, as an independent reader and writer of RTF for the tests.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdlib>

// Converts each file to the format (a soffice --convert-to filter, e.g. "txt:Text (encoded):UTF8")
// in one run, with a private profile; returns the converted files' bytes in the same order (an
// empty array where a conversion failed).
QList<QByteArray> ConvertWithLibreOffice(const QStringList& files, const QString& format,
                                         const QString& extension);
bool HaveLibreOffice();

// In CI a missing soffice fails the test; elsewhere it skips it.
#define REQUIRE_LIBREOFFICE()                                                              \
  do {                                                                                     \
    if (!HaveLibreOffice()) {                                                              \
      if (std::getenv("CI") != nullptr) FAIL() << "soffice (libreoffice-writer-nogui) is missing"; \
      GTEST_SKIP() << "soffice is not installed";                                          \
    }                                                                                      \
  } while (false)

// LibreOffice's text export of a document: UTF-8 with a mark, lines ending in LF.
QString LibreOfficeText(const QByteArray& bytes);
