#pragma once
// CResourceManager: the skin folder, the skin index ("res.xml": skin names to .ui files) and the language
// texts. Process-wide, UI thread.
//
// Skin index format:   <Res><Skin name="XML_MAIN" file="main/main.ui"/> ... </Res>
// Language file format: <Language name="English"><Text id="about_menu" value="About"/> ... </Language>
// (a <Text> may also carry its value as element text). Skin names use either slash; a name missing from the
// index is tried as a path under the skin folder, then with ".ui" in place of ".xml".

#include <QHash>
#include <QSet>
#include <optional>

#include "uilib/dui_string.h"

namespace norvane::ui {

// Lets a program answer text ids itself before the language files are asked (the main window may answer
// nothing and leave the texts to the language files).
class IQueryControlText {
 public:
  virtual std::optional<CDuiString> QueryControlText(const CDuiString& id) = 0;

 protected:
  ~IQueryControlText() = default;
};

class CResourceManager {
 public:
  static CResourceManager& GetInstance();

  // The folder of skins, fonts and language files: NORVANE_SKIN_DIR when set, else "skin" in the program's
  // data folder (ProgramDataFolder).
  static CDuiString DefaultResourcePath();
  void SetResourcePath(const CDuiString& folder);
  CDuiString GetResourcePath() const;

  // Reads the skin index from the skin folder. False (with a message on stderr) when it is missing or
  // malformed; skin names then resolve as paths.
  bool LoadResource(const CDuiString& indexFile = "res.xml");
  // Absolute path of the skin file for a skin name; empty when no such file exists.
  CDuiString ResolveSkinFile(const CDuiString& skinName) const;
  // Absolute path for a resource (image, font) given relative to the skin folder.
  CDuiString ResolveResource(const CDuiString& relativePath) const;

  void SetLanguage(const CDuiString& languageName) { language_ = languageName; }
  CDuiString GetLanguage() const { return language_; }
  // Replaces the texts with those of the file (relative to the skin folder, or absolute). On failure the
  // previous texts stay and a message names the file.
  bool LoadLanguage(const CDuiString& file);
  // Re-texts every control of every open window whose text is a language id.
  void ReloadText();

  // The text of `id`; nothing when neither the query interface nor the language knows it (reported once per
  // id on stderr).
  std::optional<CDuiString> GetText(const CDuiString& id);
  void SetTextQueryInterface(IQueryControlText* query) { query_ = query; }

  // Forgets the index and the texts (the skin folder stays).
  void Release();

 private:
  CResourceManager() = default;

  CDuiString resourcePath_;
  QHash<QString, QString> skinIndex_;
  QHash<QString, QString> texts_;
  QSet<QString> reportedMissing_;
  CDuiString language_;
  IQueryControlText* query_ = nullptr;
};

}  // namespace norvane::ui
