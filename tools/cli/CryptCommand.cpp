// quillory-cli crypt --encrypt|--decrypt --password P IN OUT: runs the entry cipher over one
// file, as the diary does for each entry while a password is set.
#include "tools/cli/CliCommands.h"
#include "tools/cli/CliText.h"

#include "app/Crypt.h"
#include "platform/Error.h"

#include <optional>

namespace quillory::cli {

namespace {

struct CryptRequest {
    bool encipher = true;
    std::string password;
    std::string input;
    std::string output;
};

// Options in any order around the two file names. Sets `problem` when the words do not form
// a request.
std::optional<CryptRequest> ParseRequest(const Arguments& args, std::string& problem)
{
    CryptRequest request;
    std::optional<bool> encipher;
    bool passwordGiven = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--encrypt" || word == "--decrypt") {
            if (encipher) {
                problem = "give one of --encrypt and --decrypt";
                return std::nullopt;
            }
            encipher = word == "--encrypt";
        } else if (word == "--password") {
            if (i + 1 >= args.size()) {
                problem = "--password needs a value";
                return std::nullopt;
            }
            // Typed as UTF-8; the cipher works on the diary's cp1252 bytes.
            const auto password = ArgumentForEngine(args[++i], problem);
            if (!password)
                return std::nullopt;
            request.password = *password;
            passwordGiven = true;
        } else if (word.starts_with("--")) {
            problem = "unknown option " + word;
            return std::nullopt;
        } else {
            files.push_back(word);
        }
    }
    if (!encipher) {
        problem = "give one of --encrypt and --decrypt";
        return std::nullopt;
    }
    if (!passwordGiven) {
        problem = "--password is missing";
        return std::nullopt;
    }
    if (files.size() != 2) {
        problem = "crypt needs an input and an output file";
        return std::nullopt;
    }
    request.encipher = *encipher;
    request.input = files[0];
    request.output = files[1];
    return request;
}

} // namespace

int RunCrypt(const Arguments& args)
{
    std::string problem;
    const auto request = ParseRequest(args, problem);
    if (!request)
        return Fail(problem + "\nusage: crypt --encrypt|--decrypt --password P IN OUT");

    std::string notice;
    TKVCrypt crypt([&notice](const std::string& text) { notice = text; });
    crypt.SetInputFile(request->input);
    crypt.SetOutputFile(request->output);
    crypt.SetPassword(request->password);
    if (!notice.empty())
        return Fail(notice);
    try {
        const bool ran = request->encipher ? crypt.Encrypt() : crypt.Decrypt();
        if (!ran)
            return Fail("crypt needs an input and an output file");
    } catch (const Error& error) {
        return Fail(error.what());
    }
    return 0;
}

} // namespace quillory::cli
