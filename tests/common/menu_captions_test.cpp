// Menu captions by language: the German and English sets in full, complete
// and translated sets for the other languages, and the codes that change
// nothing.
#include "common/menu_captions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace common;

namespace {

// The English and German captions 1..70 in their order.
const std::vector<std::string> kEnglish = {
    "Menu", "&File", "&New...", "&Open...", "&Save...", "Save &As...", "&Reset", "&EDI Files...", "Se&ttings",
    "E&xit", "&Copy", "&Paste", "&Info", "&Print...", "Printer Setup", "&Import", "Ex&port", "Import DXF",
    "Export DXF", "&Edit", "Te&xt", "Quick", "&Material", "&Production", "&Tolerance", "A&pplication",
    "&Dimensioning", "&Pre-Dimensioning", "&Recalculation", "&Calculation Method", "Select &All", "&View",
    "&Standard Printout", "&Standard", "&Excerpt Printout", "&Database", "&CAD", "STL", "&Production drawing",
    "&Drawing", "P&rojection", "&Side view", "Pr&ofile", "&Simple profile", "&Upper view", "&Diagrams",
    "&Diagram", "D&ocument", "&Drawing data", "Modifications - &Info", "Modifications - &Printout",
    "Modification - &New", "&Edit previous modification", "&Delete previous modification", "Document &Setup",
    "&OLE", "&Help", "&Auxiliary images", "&Error messages", "&Safety", "&Printout", "&Language", "System Info",
    "&Others", "&Dimensions", "&Animation", "&Table", "&Preview", "E-Manual", "&Base Data"};

const std::vector<std::string> kGerman = {
    "Menü", "&Datei", "&Neu...", "Ö&ffnen...", "&Speichern...", "Speichern &Unter...", "&Zurücksetzen",
    "&EDI-Dateien...", "E&instellungen", "&Beenden", "Kopieren", "Einfügen", "&Info", "&Drucken...",
    "Druckereinstellung", "&Import", "Ex&port", "DXF importieren", "DXF exportieren", "&Bearbeiten", "Te&xt",
    "Quick", "&Werkstoff", "&Herstellung", "&Toleranzen", "A&nwendung", "&Auslegung", "&Vorauslegung",
    "&Nachrechnung", "&Berechnungsmethode", "Alles auswählen", "&Ansicht", "&Standardausdruck", "&Standard",
    "&Auszug", "Datenban&k", "&CAD", "STL", "&Fertigungszeichnung", "&Zeichnung", "&Vorderansicht",
    "&Seitenansicht", "&Schnitt", "&Einfacher Schnitt", "D&raufsicht", "&Diagramme", "&Diagramm", "D&okument",
    "&Zeichnungsdaten", "Änderungen - &Info", "Änderungen - &Ausdruck", "&Neue Änderung",
    "Letzte Änderung &bearbeiten", "Letzte Änderung &löschen", "Dokument &Setup", "&OLE", "&Hilfe",
    "&Hilfebild", "&Fehlermeldungen", "&Sicherheit", "&Ausdruck", "&Sprache", "Systeminformation", "&Sonstige",
    "&Abmessungen", "&Animation", "&Tabelle", "&Voransicht", "Handbuch", "&Basisdaten"};

std::vector<std::string> Captions() {
  std::vector<std::string> v;
  for (int i = 1; i <= LanguageCaptionCount; ++i) v.push_back(MenuCaptions[i]);
  return v;
}

// True when the bytes are well-formed UTF-8.
bool IsUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (n < 0 || i + n >= s.size() + (n == 0 ? 1 : 0)) return false;
    for (int k = 1; k <= n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += n + 1;
  }
  return true;
}

class MenuCaptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMenuCaptions(); }
  void TearDown() override { ResetMenuCaptions(); }
};

TEST_F(MenuCaptionsTest, StartTextsAreGermanAndLinksStays) {
  EXPECT_EQ(Captions(), kGerman);
  EXPECT_EQ(MenuCaptions[CapLinks], "Links");
  SetMenuLanguage(2);
  EXPECT_EQ(MenuCaptions[CapLinks], "Links");
}

TEST_F(MenuCaptionsTest, EnglishAndGermanSets) {
  SetMenuLanguage(2);
  EXPECT_EQ(Captions(), kEnglish);
  EXPECT_EQ(MenuCaptions[CapFile], "&File");
  SetMenuLanguage(1);
  EXPECT_EQ(Captions(), kGerman);
  EXPECT_EQ(MenuCaptions[CapFile], "&Datei");
  SetMenuLanguage(0);  // no language configured
  EXPECT_EQ(Captions(), kEnglish);
}

TEST_F(MenuCaptionsTest, OtherLanguagesAreCompleteTranslatedAndUtf8) {
  for (int code : {3, 4, 5, 6, 7, 8, 9, 12}) {
    SCOPED_TRACE(code);
    SetMenuLanguage(2);
    SetMenuLanguage(code);
    const auto set = Captions();
    int sameAsEnglish = 0;
    for (int i = 0; i < LanguageCaptionCount; ++i) {
      EXPECT_FALSE(set[i].empty()) << i + 1;
      EXPECT_TRUE(IsUtf8(set[i])) << set[i];
      // A caption with an accelerator keeps one.
      if (kEnglish[i].find('&') != std::string::npos) {
        EXPECT_NE(set[i].find('&'), std::string::npos) << set[i];
      }
      if (set[i] == kEnglish[i]) ++sameAsEnglish;
    }
    // Only names that are the same in every language ("STL", "&OLE", "&CAD",
    // the odd loan word) may equal the English text.
    EXPECT_LE(sameAsEnglish, 6);
  }
}

TEST_F(MenuCaptionsTest, KoreanAndChineseCarryTheAcceleratorInParentheses) {
  SetMenuLanguage(8);
  EXPECT_EQ(MenuCaptions[CapFile], "파일(&F)");
  EXPECT_EQ(MenuCaptions[CapSaveAs], "다른 이름으로 저장(&A)...");
  SetMenuLanguage(12);
  EXPECT_EQ(MenuCaptions[CapFile], "文件(&F)");
  EXPECT_EQ(MenuCaptions[CapHelp], "帮助(&H)");
}

TEST_F(MenuCaptionsTest, UnknownCodesLeaveTheCaptionsInForce) {
  SetMenuLanguage(7);
  const auto romanian = Captions();
  for (int code : {10, 11, 13, 99, -1}) {
    EXPECT_FALSE(IsMenuLanguage(code));
    SetMenuLanguage(code);
    EXPECT_EQ(Captions(), romanian) << code;
  }
  // The languages differ from one another.
  std::set<std::string> files;
  for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 12}) {
    SetMenuLanguage(code);
    files.insert(MenuCaptions[CapSaveAs]);
  }
  EXPECT_EQ(files.size(), 10u);
}

}  // namespace
