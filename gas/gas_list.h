#pragma once
// The ordered list of known gases behind a gas entry field, without the widget:
// the order in which gases join it, its text form in the preferences, the
// completion of typed text and what leaving the field does. The field itself
// (a combo box) only shows this model and carries out the returned actions.

#include <string>
#include <string_view>
#include <vector>

#include "gas/gas.h"

namespace kv {

class CGasList {
public:
  // What the field must do after the user left it.
  enum class ELeaveAction {
    Nothing,           // empty text, or the text accepted last time
    SelectedExisting,  // the gas was in the list and is now selected; tell the parent the gas changed
    AddedNew,          // the gas joined the list and is selected; tell the parent of the new gas, then of the change
    Invalid            // show the message, empty the field, tell the parent the gas changed
  };
  struct SLeaveResult {
    ELeaveAction action = ELeaveAction::Nothing;
    CGas gas;             // the gas read from the text (invalid for Invalid and Nothing)
    std::string message;  // string 1264 for Invalid, else empty
  };
  struct SCompletion {
    int index = -1;                 // the completing entry, -1 for none
    std::string text;               // the text to show: the entry, or the typed text when none
    std::size_t selectionStart = 0; // the not-yet-typed tail starts here
  };

  static constexpr const char* kNotSet = "NotSet";

  // Inserts the gas's long-form name in its ordered place and selects it unless
  // doNotSelect. A name already listed succeeds without change. False for an
  // invalid gas, negative helium, or a name that fits no class ("Helium").
  bool AddGas(const CGas& gas, bool doNotSelect = false);
  // The mix as SetMix builds it; false when SetMix rejects it.
  bool AddGas(double oxygen, double helium, bool doNotSelect = false);

  // Valid entries in list order, short form, joined by "," ("21/0,100/0,32/0").
  std::string GetListText() const;
  // Rebuilds the list from its text form, skipping items that do not give two
  // readable numbers and an accepted mix, then selects the first entry.
  void SetListText(std::string_view text);
  void Clear();

  int Count() const { return static_cast<int>(m_entries.size()); }
  const std::vector<std::string>& Entries() const { return m_entries; }
  int IndexOf(std::string_view name) const;
  int Selected() const { return m_selected; }
  // Selects an entry; anything outside the list clears the selection.
  void Select(int index);
  // The selected entry's text, or an empty text.
  std::string SelectedText() const;

  // The first entry that begins with the typed text (letter case ignored), or
  // -1; an empty text completes nothing.
  int FindCompletion(std::string_view typed) const;
  // Completion as the field shows it while typing: only while complete-as-you-type is set.
  SCompletion Complete(std::string_view typed) const;
  // Every key press turns completion on, except Backspace and Delete, which
  // turn it off so that the user can shorten the text.
  void OnKeyPress(bool backspaceOrDelete) { m_completeAsYouType = !backspaceOrDelete; }
  bool CompleteAsYouType() const { return m_completeAsYouType; }

  // Reads the field's text when the user leaves it and updates the list.
  SLeaveResult LeaveField(const std::string& text);
  const std::string& LastText() const { return m_lastText; }
  void SetLastText(const std::string& text) { m_lastText = text; }
  bool ListChanged() const { return m_listChanged; }
  void SetListChanged(bool changed) { m_listChanged = changed; }

private:
  void InsertAt(std::size_t position, std::string name, bool doNotSelect);
  std::size_t PlaceOf(const std::string& name, double oxygen, double helium) const;

  std::vector<std::string> m_entries;
  int m_selected = -1;
  bool m_completeAsYouType = true;
  std::string m_lastText = kNotSet;
  bool m_listChanged = false;
};

}  // namespace kv
