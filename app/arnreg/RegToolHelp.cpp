#include "app/arnreg/RegToolHelp.h"

namespace arn {

namespace {

constexpr const char* kHelp = R"(Usage: arnreg [--db FILE] COMMAND [ARGUMENTS]

Reads and writes the registry database that the ArnAbsPosn library uses.

Commands:
  export [--allow-lossy] KEY [FILE]
                              write KEY and all its subkeys as registry text to FILE,
                              or to standard output without FILE. Registry text keeps
                              string values only: each value that would not load back
                              (a DWORD or other non-string value, the default value with
                              its empty name, a name with "=", a line break) is warned
                              of, and the export is refused (exit status 3, nothing
                              written) unless --allow-lossy is given
  import [--check | --atomic] FILE
                              load a registry text file ("-" reads standard input) and
                              print how many keys and values it wrote; UTF-16 files
                              with a byte-order mark and UTF-8 or ANSI text are
                              accepted. Each line of other registry tools that this
                              format does not know (@=, dword:, hex:, [-KEY], "NAME"=-)
                              is warned of first, with what the load does with it:
                              refuses it, stores it as a string, or ignores it. A load
                              that fails keeps what it wrote before the error, and
                              arnreg says how much that was. Section headers need the
                              full root names ([HKEY_CURRENT_USER\...], not [HKCU\...]).
                              --check runs the load and takes it all back: it reports
                              what the import would write and where it would fail, and
                              writes nothing. --atomic loads all or nothing: the whole
                              file in one transaction, rolled back on any error
  get KEY [NAME]              print the value NAME of KEY; without NAME, the key's
                              default value (the value with the empty name). Control
                              characters show escaped: \0, \t, \n, \r, others as \xHH
  set [--dword] KEY NAME VALUE
                              store VALUE as a string (or, with --dword, as a 32-bit
                              number), creating KEY when missing
  delete KEY [NAME]           delete the value NAME, or without NAME the key KEY with all
                              its subkeys
  list KEY                    list the subkeys (ending in "\") and values of KEY, with
                              control characters escaped as get shows them

Keys under HKEY_LOCAL_MACHINE open read-only once they exist, as the library opens them:
values can be added to such a key only while it is being created.

KEY is a root key and a path, e.g. HKEY_CURRENT_USER\Software\Example; on the command
line the roots may be shortened to HKCR, HKCU, HKLM, HKU, HKCC, and "/" may stand for "\".

Options:
  --db FILE                   use FILE as the registry database
  --allow-lossy               export even what registry text cannot carry back
  --check                     import: report what the load would do; write nothing
  --atomic                    import: load the whole file or nothing of it
  -q, --quiet                 leave out import's warnings
  -h, --help                  show this text

The database is FILE from --db, else $ARN_REGISTRY_DB, else
$XDG_DATA_HOME/arnabsposn/registry.db, else ~/.local/share/arnabsposn/registry.db.
A new database is readable by its owner only (mode 0600), as are the folders made
for it (0700). On Windows arnreg works on the system's registry and takes no --db,
--check or --atomic.

Exit status: 0 on success, 1 when the registry or a file refused the request,
2 when the command line is wrong, 3 when an export was refused as lossy.
)";

}  // namespace

const char* RegToolHelp() {
    return kHelp;
}

}  // namespace arn
