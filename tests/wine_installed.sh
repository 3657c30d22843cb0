#!/bin/sh
# The Windows installer, and the zips beside it, under Wine as a user of
# Windows meets them, in a prefix that reaches nothing of this machine: the
# licences and Qt's source; installed silently, started at 100 %, 125 % and
# 150 %, used, ended; reinstalled; uninstalled, not while the program runs.
#   wine_installed.sh INSTALLER SCREENSHOT_DIR
set -u
desktop=wine scenario=installed program=$1 shots=$2/wine
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
need openbox /usr/lib/wine/wine64 /usr/lib/wine/wineserver wrestool strings unzip x86_64-w64-mingw32-objdump
wm=openbox wm_name=Openbox session="" move_modifier=alt panel=no program_class=morvantel.exe
. "$here/desktop_lib.sh"
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
wine=/usr/lib/wine/wine64
skips_taskbar() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
drive=$WINEPREFIX/drive_c
folder=$drive/Program\ Files/Translator
entry="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Translator/Translator.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Translator'
# A screen that holds About at its place at 150 % (Wine 10 pushes it back).
start_desktop 1280x1024
# Wine draws Windows' own frames, at the desktop's DPI, as Windows does.
$wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || fail "Wine does not start"
rm "$WINEPREFIX/dosdevices/z:" || fail "the prefix has no Unix drive to remove"
cp "$program" "$drive/setup.exe" && unzip -q "${program%.exe}.zip" -d "$drive/unpacked" || fail "no installer or zip"
# What a distributor hands out: every library's licence, the source of Qt as
# its Debian source package lists it, the terms on the licence page.
unpacked=$drive/unpacked/${program##*/} unpacked=${unpacked%.exe}
notices=$(tr '\r\n' '  ' <"$unpacked/LICENSE.txt" | tr -s ' ')
third=$(tr -d '\r' <"$unpacked/licences/THIRD-PARTY-NOTICES.txt")
for library in $(cd "$unpacked" && find . -name '*.dll' | cut -c 3- | tr / '\\'); do
    case $notices in *"$library"*) ;; *) fail "LICENSE.txt does not name $library" ;; esac
    printf '%s\n' "$third" | grep -a '^=== ' | grep -q -F "$library" ||
        fail "THIRD-PARTY-NOTICES.txt has no notice for $library"
done
# Each piece of others' code says whose it is, or that it is no one's; the
# licence of libjpeg, in qjpeg.dll, has the Independent JPEG Group named.
unclaimed=$(printf '%s\n' "$third" | awk '/^--- / && !/^--- (end of )?[A-Za-z0-9.]+ ---$/ {if (name && !said) print name; name = $0; said = 0}
    /^=== / {if (name && !said) print name; name = ""} tolower($0) ~ /copyright|public domain|\(c\)/ {said = 1}
    END {if (name && !said) print name}')
[ -z "$unclaimed" ] || fail "THIRD-PARTY-NOTICES.txt says not whose this is: $unclaimed"
printf '%s\n' "$third" | tr '\n' ' ' | tr -s ' ' | grep -q "based in part on the work of the Independent JPEG Group" ||
    fail "THIRD-PARTY-NOTICES.txt does not name the Independent JPEG Group as libjpeg's licence asks"
source_zip=${program%.exe}-source.zip
unzip -q "$source_zip" -d "$work/source" || fail "no source zip beside the installer"
source=$work/source/$(basename "$source_zip" .zip)
dsc=$(echo "$source"/qt6-base_*.dsc)
case $notices in *"qt6-base $(sed -n 's/^Version: //p' "$dsc") source package"*"${source_zip##*/}"*) ;;
*) fail "LICENSE.txt names another Qt source than ${dsc##*/} in ${source_zip##*/}" ;; esac
sed -n '/^Checksums-Sha256:/,/^[^ C]/s/^ \([0-9a-f]\{64\}\) [0-9]* \(.*\)/\1  \2/p' "$dsc" >"$work/sums"
[ "$(wc -l <"$work/sums")" -eq 2 ] && (cd "$source" && sha256sum -c --quiet "$work/sums") &&
    [ -f "$source/tools/build-qt-windows" ] ||
    fail "the source zip lacks what ${dsc##*/} lists, or the script that built Qt"
# Whoever builds Qt again from the zip needs every file that script calls.
for called in $(grep -o '$here/[A-Za-z0-9_./-]*' "$source/tools/build-qt-windows" | cut -c 7- | sort -u); do
    [ -f "$source/$called" ] || fail "the source zip lacks $called, which tools/build-qt-windows calls"
done
licence_copied() { # from a click into the licence page's text, which leaves the welcome page alone
    geometry "$setup_window"
    xdotool mousemove $((x + 250)) $((y + 180)) click 1
    keys ctrl+a ctrl+c
    clipboard_holds Copyright
}
$wine 'C:\setup.exe' >"$work/setup.log" 2>&1 &
setup=$!
await_window 'Translator Setup$' setup.exe || fail "the installer showed no window"
setup_window=$found
activate "$setup_window"
keys Return
poll 10 licence_copied ||
    fail "the licence page does not show the program's terms: $(timeout 5 xclip -o -selection clipboard | head -n 3)"
timeout 5 xclip -o -selection clipboard | tr -d '\r' >"$work/licence-page.txt"
tr -d '\r' <"$unpacked/LICENSE.txt" | cmp -s - "$work/licence-page.txt" ||
    fail "the licence page shows: $(head -n 5 "$work/licence-page.txt")"
kill "$setup"
poll 10 gone 'Translator Setup$' || fail "the installer did not close"
install() { # [/D=FOLDER]: silently, within a minute
    timeout 60 $wine 'C:\setup.exe' /S "$@" >"$work/install.log" 2>&1 || fail "the installer ended with status $? ($*)"
}
uninstall() { # uninstaller: silently, in place, and waited for
    timeout 60 $wine "$1" /S "_?=${1%\\Uninstall.exe}" >"$work/uninstall.log" 2>&1
}
# The entry among the installed programs, its values as Windows reads them.
entry_values() {
    $wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r' | awk 'NF >= 3 {$1 = $1; print}' |
        grep -E '^(DisplayName|DisplayVersion|Publisher|DisplayIcon|URLInfoAbout|NoModify|NoRepair|EstimatedSize) ' | sort
}
install
[ -f "$folder/morvantel.exe" ] && [ -f "$entry" ] || fail "no program or no Start-menu entry installed"
size=$(du -sk "$folder" | cut -f 1)
values=$(entry_values | sed 's/^\(EstimatedSize REG_DWORD\) 0x[0-9a-f]*$/\1/')
[ "$values" = 'DisplayIcon REG_SZ C:\Program Files\Translator\morvantel.exe
DisplayName REG_SZ Translator
DisplayVersion REG_SZ 1.00
EstimatedSize REG_DWORD
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
Publisher REG_SZ Tessar Morvantel
URLInfoAbout REG_SZ https://tessarmorvantel.net/translator' ] || fail "the entry among the installed programs holds: $values"
estimated=$(($(entry_values | sed -n 's/^EstimatedSize REG_DWORD //p')))
[ $((estimated * 10)) -ge $((size * 9)) ] && [ $((estimated * 10)) -le $((size * 11)) ] ||
    fail "the entry estimates ${estimated} KiB for a folder of ${size} KiB"
# A program with windows, which Windows starts without a console.
x86_64-w64-mingw32-objdump -p "$folder/morvantel.exe" | grep -q '^Subsystem.*(Windows GUI)' ||
    fail "morvantel.exe is not a Windows GUI program"
# The program's icon and version block, as Windows' Explorer shows them.
icon=$here/../resources/morvantel.ico
wrestool -x --type=group_icon "$folder/morvantel.exe" | head -c "$(wc -c <"$icon")" | cmp -s - "$icon" ||
    fail "the program's icon is not morvantel.ico"
version=$(wrestool -x --raw --type=16 "$folder/morvantel.exe" | strings -el -n 3 | tr '\n' ' ')
[ "$version" = "VS_VERSION_INFO StringFileInfo 040904B0 CompanyName N/A ProductName Translator FileVersion \
1.00 ProductVersion 1.00 InternalName morvantel OriginalFilename morvantel.exe VarFileInfo Translation " ] ||
    fail "the version block holds: $version"
version=$(wrestool -x --raw --type=16 "$drive/setup.exe" | strings -el -n 3 | tr '\n' ' ')
case $version in *"FileDescription Translator 1.00 Setup FileVersion 1.00 ProductName Translator ProductVersion 1.00 "*) ;;
*) fail "the installer's version block holds: $version" ;; esac
# The Start-menu entry starts the program in its folder; it is started here
# as the entry says, since Wine 10 waits for nothing opened through a shortcut.
app_folder='C:\Program Files\Translator'
strings "$entry" | grep -qxF "$app_folder\\morvantel.exe" && strings -el "$entry" | grep -qxF "$app_folder" ||
    fail "the Start-menu entry does not start $app_folder\\morvantel.exe in its folder"
for dpi in 96 120 144; do
    $wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1
    $wine start /wait /d "$app_folder" "$app_folder\\morvantel.exe" >"$work/program.log" 2>&1 &
    app=$!
    await_splash
    geometry "$splash"
    [ "${w}x$h" = "$([ $dpi = 144 ] && echo 988x568 || echo 494x284)" ] || fail "the splash window is ${w}x$h at $dpi dpi"
    skips_taskbar "$splash" || fail "the splash window has a taskbar button"
    expect_no_name "$splash"
    expect_centred "$splash"
    leave_splash
    ! skips_taskbar "$main" || fail "the main window has no taskbar button"
    expect_centred "$main"
    [ $dpi = 144 ] && break
    quit_with_yes
done
type_text dragon
keys Return Tab Tab ctrl+a ctrl+c
poll 5 clipboard_holds "^morvantel$" || fail "the answer to \"dragon\" was not copied"
mkdir -p "$shots" && import -frame -window "$main" "$shots/wine-main.png"
key_opens F1 "$about_title"
skips_taskbar "$found" || fail "About has a taskbar button"
# At 150 %, drawn at twice the design's size (764x472 inside Wine's frame), twice its place.
geometry "$found"
side=$(((w - 764) / 2)) && x=$((x + side)) y=$((y + h - 472 - side))
[ "$x,$y" = "312,258" ] || fail "About's client area is at $x,$y, not at twice its place, 312,258"
import -frame -window "$found" "$shots/wine-about.png"
activate "$main"
key_opens F12 "$whatsnew_title"
skips_taskbar "$found" || fail "What's New has a taskbar button"
# While it runs, the uninstaller says so and leaves it installed.
uninstall 'C:\Program Files\Translator\Uninstall.exe'
[ -f "$folder/morvantel.exe" ] && [ -n "$(entry_values)" ] || fail "the uninstaller took part of the running program"
quit_with_yes
# The unpacked zip runs from its own folder.
app_folder='C:\unpacked\morvantel-1.0.0.0-win64'
$wine start /wait /d "$app_folder" "$app_folder\\morvantel.exe" >"$work/program.log" 2>&1 &
app=$!
await_splash
leave_splash
quit_with_yes
# The user deleted the folder; a reinstall puts it back, without a question.
rm -rf "$folder"
install
[ -f "$folder/morvantel.exe" ] || fail "the reinstall did not put the program back"
uninstall 'C:\Program Files\Translator\Uninstall.exe' || fail "the uninstaller ended with status $?"
# A folder the user chose (/D=, last) is where a reinstall goes.
install '/D=C:\Apps\Translator'
install
[ -f "$drive/Apps/Translator/morvantel.exe" ] && [ ! -e "$folder" ] ||
    fail "the reinstall did not go to the folder the first install chose"
# Another program of the same publisher keeps its settings.
$wine reg add 'HKLM\Software\Tessar Morvantel\Atlas' /v Kept /d 1 /f >/dev/null 2>&1 ||
    fail "Wine did not take the other program's key"
# The uninstaller as Windows starts it: from a copy of itself, which finishes on its own.
$wine 'C:\Apps\Translator\Uninstall.exe' /S >"$work/uninstall.log" 2>&1 || fail "the uninstaller failed"
poll 20 test ! -e "$drive/Apps/Translator" || fail "files left behind: $(find "$drive/Apps")"
poll 20 test ! -e "$entry" || fail "the Start-menu entry is left behind"
[ -z "$(entry_values)" ] || fail "the entry among the installed programs is left behind"
! $wine reg query 'HKLM\Software\Tessar Morvantel\Translator' >/dev/null 2>&1 || fail "the program's key is left behind"
$wine reg query 'HKLM\Software\Tessar Morvantel\Atlas' /v Kept >/dev/null 2>&1 ||
    fail "the uninstaller deleted another program's key of the same publisher"
echo "PASS ($desktop, $scenario)"
