// The settings' table against the dialog's template and the values the program starts with.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "SettingsSchema.h"

namespace {

// Every edit of the dialog is a numeric field and the check box is the check field: an edit
// missing from the table would never be read, one listed twice read twice.
TEST(SettingsSchema, CoversEveryFieldOfTheDialogOnce) {
    std::set<int> fields;
    for (const SettingField& field : SETTING_FIELDS) {
        EXPECT_TRUE(fields.insert(field.id).second) << field.id;
    }
    std::set<int> controls;
    for (const SettingsItem& item : SETTINGS_ITEMS) {
        if (item.kind == ITEM_EDIT || item.kind == ITEM_AUTO_CHECK_BOX) {
            controls.insert(item.id);
            const SettingField* field = FindSettingField(item.id);
            ASSERT_NE(field, nullptr) << item.id;
            EXPECT_EQ(field->kind == SettingKind::Check, item.kind == ITEM_AUTO_CHECK_BOX);
        }
    }
    EXPECT_EQ(fields, controls);
}

// The values the program starts with pass their own fields' checks, read back from the text
// the dialog shows, and each runner option names one field.
TEST(SettingsSchema, DefaultsPassTheirChecksAndOptionsAreUnique) {
    const SimulationSettings defaults;
    std::set<std::string> options;
    for (const SettingField& field : SETTING_FIELDS) {
        SCOPED_TRACE(field.id);
        if (field.option != nullptr) {
            EXPECT_TRUE(options.insert(field.option).second);
            EXPECT_EQ(FindSettingOption(field.option), &field);
        }
        if (field.kind == SettingKind::Check) {
            continue;
        }
        SimulationSettings read;
        if (field.kind == SettingKind::Int) {
            read.*field.intValue = -12345;
        } else {
            read.*field.realValue = -1.5;
        }
        EXPECT_EQ(ReadSettingField(field, SettingFieldText(field, defaults), read),
                  FieldError::None);
        EXPECT_EQ(read, defaults);
    }
    EXPECT_EQ(FindSettingOption("--step-interval"), nullptr) << "the runner has no timer";
}

}  // namespace
