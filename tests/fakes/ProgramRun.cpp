#include "fakes/ProgramRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace arn::test {

namespace {

// A file that takes one stream of the program, removed afterwards.
class Capture {
  public:
    Capture() {
        char name[] = "/tmp/arn-capture-XXXXXX";
        m_fd = mkstemp(name);
        if (m_fd < 0) {
            throw std::runtime_error("no capture file");
        }
        m_path = name;
    }
    ~Capture() {
        close(m_fd);
        unlink(m_path.c_str());
    }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    int fd() const { return m_fd; }
    std::string Text() const {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    int m_fd = -1;
    std::string m_path;
};

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::map<std::string, std::optional<std::string>>& env,
                         const std::string& workingDir) {
    std::map<std::string, std::string> vars;
    for (char** at = environ; *at; ++at) {
        const std::string entry = *at;
        const size_t eq = entry.find('=');
        vars[entry.substr(0, eq)] = eq == std::string::npos ? "" : entry.substr(eq + 1);
    }
    for (const auto& [name, value] : env) {
        if (value) {
            vars[name] = *value;
        } else {
            vars.erase(name);
        }
    }
    std::vector<std::string> envText;
    for (const auto& [name, value] : vars) {
        envText.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& entry : envText) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> argText{program};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argText) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    Capture out;
    Capture err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.fd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.fd(), STDERR_FILENO);
    // The working folder is the child's alone: glibc's addchdir_np, where it exists.
    if (!workingDir.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
    }
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = out.Text();
    result.err = err.Text();
    return result;
}

}  // namespace arn::test
