#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"
#include "core/common/file_io.h"
#include "core/common/folder_choice.h"
#include "core/common/native_paths.h"
#include "core/job/job_description.h"
#include "core/pricedata/folder_layout.h"
#include "core/pricedata/startup_recovery.h"
#include "inkquot_version.h"

namespace {

using inkquot::cli::CommandContext;

struct Command {
    const char* name;
    const char* usage;
    int (*run)(CommandContext&);
};

const Command kCommands[] = {
    {"install", "install DIR        lay out a ready program folder in DIR",
     inkquot::cli::runInstall},
    {"part", "part               cost one printed part: PartSpec JSON in, PartCost JSON out",
     inkquot::cli::runPart},
    {"binding", "binding            cost binding: {bindFlag, copies, kai, pages, bindingForm} in",
     inkquot::cli::runBinding},
    {"price",
     "price [--lines]    price a job: job description JSON in, {kind, CostResult} out;\n"
     "                     a batch is an array of jobs or, with --lines, one job a line;\n"
     "                     a job file (.inkjob) saved by the program is a job description\n"
     "  price --scheme NAME\n"
     "                     the same, priced from the stored tables of another scheme of\n"
     "                     the list; the scheme in use and every file stay as they are",
     inkquot::cli::runPrice},
    {"ticket",
     "ticket [--date DATE] [--lines]\n"
     "                     the production ticket of a job (no prices): job description JSON\n"
     "                     in, the sheets, plates and finishing of every printed part, the\n"
     "                     binding and the paper in full sheets and reams out; batches as price",
     inkquot::cli::runTicket},
    {"fit", "fit                fit a size on the sheets: {page, a, b, trim, gripper} in",
     inkquot::cli::runFit},
    {"table",
     "table [--lines]    a price table: job description JSON in, its labels and prices out\n"
     "  table --xlsx FILE | --csv FILE [--title TEXT]\n"
     "                     the same, and the table of one job as an Excel workbook or a\n"
     "                     CSV file (UTF-8 with a byte-order mark)",
     inkquot::cli::runTable},
    {"history",
     "history [--customer TEXT | --job TEXT | --after DATE]\n"
     "                     saved quotations, one JSON object a line (date, customer, job,\n"
     "                     quantity, unit_price, total_price, size, processing); no option\n"
     "                     lists all, --after lists those saved after DATE\n"
     "  history [QUERY] --job-of K\n"
     "                     the job file (.inkjob) saved with the K-th quotation listed\n"
     "  history [QUERY] --summary\n"
     "                     the quotations the query lists, counted and summed by month and\n"
     "                     for the ten customers with the largest sums\n"
     "  history --delete-up-to DATE\n"
     "                     delete the quotations saved on DATE or before, and their jobs",
     inkquot::cli::runHistory},
    {"scheme",
     "scheme list | select NAME | export NAME | delete NAME | repair\n"
     "                     the price schemes, as the buttons of the parameter page",
     inkquot::cli::runScheme},
};

void printHelp(std::ostream& out) {
    out << "usage: inkquot-cli [--dir PROGRAM_FOLDER] COMMAND [ARGS]\n"
           "JSON on standard input and output. A damaged price file is priced as it\n"
           "stands and named in a \"warnings\" list of the output.\n\n"
           "A batch is read, priced and written one job at a time. In an array the first\n"
           "bad job ends the batch: the results before it are written, the message goes\n"
           "to standard error. With --lines (JSON Lines in and out) a bad line gets\n"
           "{\"error\": message} in its place, the other lines are priced, and the exit\n"
           "code is 2 at the end.\n\n"
           "exit codes: 0 done; 2 input the user can mend (a bad job, argument or\n"
           "scheme name); 1 a fault of the files or the machine (a missing or\n"
           "unreadable file, a failed write). The reason is one line on standard error.\n"
           "\ncommands:\n";
    for (const auto& c : kCommands) {
        out << "  " << c.usage << '\n';
    }
    out << "\nThe program folder is --dir, else $INKQUOT_HOME, else this executable's folder\n"
           "when it holds jgfa/ (a portable copy), else the per-user folder\n"
           "$XDG_DATA_HOME/inkquot (~/.local/share/inkquot), laid out at first use.\n"
           "--version prints the version.\n";
}

// The answers went out whole, or the exit code says they did not: a full
// disk or a broken device under standard output is a fault of the machine
// (exit code 1 with a message), never a silent success.
int checkedOutput(std::string_view command, int code) {
    errno = 0;
    std::cout.flush();
    if (!std::cout.fail()) {
        return code;
    }
    const std::string reason = inkquot::faultReason(inkquot::native::faultOfErrno(errno));
    std::cerr << command << ": 无法写入标准输出" << (reason.empty() ? "" : "（" + reason + "）")
              << "，输出不完整\n";
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Batches and histories run to millions of lines; C++ streams alone are
    // much faster than when kept in step with C's.
    std::ios::sync_with_stdio(false);
    inkquot::native::useBinaryStandardStreams();
    const std::vector<std::string> args = inkquot::native::utf8Arguments(argc, argv);
    std::optional<std::filesystem::path> dir;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            printHelp(std::cout);
            return checkedOutput("inkquot-cli", 0);
        }
        if (args[i] == "--version") {
            std::cout << "inkquot-cli " << INKQUOT_VERSION << '\n';
            return checkedOutput("inkquot-cli", 0);
        }
        if (args[i] == "--dir") {
            if (i + 1 >= args.size()) {
                std::cerr << "--dir needs a folder\n";
                return 2;
            }
            const std::string& named = args[++i];
            dir = std::filesystem::path(std::u8string(named.begin(), named.end()));
            continue;
        }
        rest.push_back(args[i]);
    }
    if (rest.empty()) {
        printHelp(std::cerr);
        return 2;
    }
    for (const auto& c : kCommands) {
        if (rest.front() != c.name) {
            continue;
        }
        try {
            // install names its own folder; every other command works in the
            // program folder, which is chosen (and for the per-user folder
            // laid out) only now.
            std::filesystem::path root;
            if (rest.front() != "install") {
                const auto choice =
                    inkquot::chooseProgramFolder(inkquot::folderHintsFromEnvironment(dir));
                if (!choice.ok()) {
                    std::cerr << choice.problem << '\n';
                    return choice.source == inkquot::FolderSource::PerUser ? 1 : 2;
                }
                if (choice.source == inkquot::FolderSource::PerUser) {
                    const auto status =
                        inkquot::completeProgramFolder(inkquot::ProgramFolder(choice.root));
                    if (!status) {
                        std::cerr << status.message << '\n';
                        return 1;
                    }
                }
                root = choice.root;
            }
            CommandContext ctx{
                inkquot::ProgramFolder(root), {rest.begin() + 1, rest.end()}, std::cin, std::cout};
            // A scheme operation that a crash interrupted is undone before
            // any command reads the files, and killed writers' temporaries go.
            // The repair clears a damaged record of an interrupted change
            // itself, which this recovery would stop at.
            const bool repairing = rest.size() == 2 && rest[0] == "scheme" && rest[1] == "repair";
            if (rest.front() != "install" && !repairing) {
                const auto recovered = inkquot::recoverProgramFolder(ctx.folder);
                if (!recovered) {
                    std::cerr << recovered.message << '\n';
                    return 1;
                }
            }
            return checkedOutput(c.name, c.run(ctx));
        } catch (const inkquot::cli::BadInput& e) {
            std::cerr << e.what() << '\n';
            return checkedOutput(c.name, 2);
        } catch (const inkquot::JobRefused& e) {
            std::cerr << e.what() << '\n';
            return checkedOutput(c.name, 2);
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return checkedOutput(c.name, 1);
        }
    }
    std::cerr << "unknown command: " << rest.front() << '\n';
    return 2;
}
