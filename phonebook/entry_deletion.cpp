#include "phonebook/entry_deletion.h"

#include <string>

#include "dialup/system_functions.h"
#include "phonebook/entry_listing.h"
#include "ui/gui.h"

bool DeletePhonebookEntry(std::string_view name) {
    const std::string entryName(name);
    return sys::RasDeleteEntryA(nullptr, entryName.c_str()) == 0;
}

void OnDeleteEntry() {
    const std::string name = gui::GetSelectedText(ui::main_window::组合框1);
    if (name.empty())
        gui::ShowMessage(ui::WindowKind::Main, "请选择要删除的宽带连接");
    else if (DeletePhonebookEntry(name))
        FillConnectionList();
    else
        gui::ShowMessage(ui::WindowKind::Main, "删除拨号连接失败");
}
