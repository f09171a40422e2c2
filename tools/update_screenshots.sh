#!/bin/bash
# Regenerates the pictures in docs/screenshots/ from a test run on a Wine that
# has no Chinese, Japanese or Korean font: the four wizard pages and the
# message "请您回答提问." of the real program (tests/e2e/render_e2e_test.cpp),
# the Yes/No question of the message dialog's own test, and the folder
# chooser. The pictures are copied only when those tests pass.
#
#   tools/update_screenshots.sh
set -eu
cd "$(dirname "$0")/.."
choice=$(tools/test_target.sh) || exit 1
build_target=${choice%%$'\n'*}
artifacts=build/$build_target/test_artifacts
target=docs/screenshots
# picture in the test run -> picture in docs/screenshots
pictures="page0.png:wizard_page0.png
page1.png:wizard_page1.png
page2.png:wizard_page2.png
page3.png:wizard_page3.png
message.png:message_dialog.png
message_dialog_yes_no.png:message_dialog_yes_no.png
folder_chooser.png:folder_chooser.png"

wine_root=
[ "$build_target" = x86_64 ] || wine_root=$(tools/wine_root.sh make)
cmake --preset "$build_target" -DLUMABOOK_TESTS=ON -DLUMABOOK_WINE_ROOT="$wine_root" > /dev/null
cmake --build --preset "$build_target"
for entry in $pictures; do
    rm -f "$artifacts/${entry%%:*}"
done
ctest --preset "$build_target" -R '^(WizardRendering\.|MessageDialog\.QuestionPlacesYesLeftOfNoAThirdOfAButtonApart$|FolderChooser\.ShowsOnlyTheFolderControlsWithTheirCaptionsDrawn$)'
mkdir -p "$target"
for entry in $pictures; do
    cp "$artifacts/${entry%%:*}" "$target/${entry#*:}"
    echo "$target/${entry#*:}"
done
