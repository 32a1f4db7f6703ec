#include "simulator/server/server_options.h"

#include "common/ipv4_text.h"

namespace {

bool Number(const std::string& text, uint32_t maximum, uint32_t& value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long n = std::stoull(text);
    if (n > maximum) return false;
    value = static_cast<uint32_t>(n);
    return true;
}

bool Port(const std::string& text, uint16_t& port) {
    uint32_t value = 0;
    if (!Number(text, 65535, value) || value == 0) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

// KIND@FRAME or KIND@FRAME=VALUE; `value` is left alone when none is given.
bool FrameAndValue(const std::string& text, uint32_t& frame, uint32_t* value) {
    const size_t at = text.find('@');
    if (at == std::string::npos) return false;
    const size_t equals = text.find('=', at);
    if (!Number(text.substr(at + 1, equals == std::string::npos ? std::string::npos : equals - at - 1),
                0xFFFFFFFFu, frame) || frame == 0)
        return false;
    if (equals == std::string::npos) return value == nullptr;
    return value && Number(text.substr(equals + 1), 3600, *value);
}

bool ParseFault(const std::string& text, ServerFaults& f) {
    const std::string kind = text.substr(0, text.find_first_of("@="));
    uint32_t value = 0;
    if (kind == "close") return FrameAndValue(text, f.closeAtFrame, nullptr);
    if (kind == "reset") return FrameAndValue(text, f.resetAtFrame, nullptr);
    if (kind == "wrong-code") return FrameAndValue(text, f.wrongCodeAtFrame, nullptr);
    if (kind == "overlong") return FrameAndValue(text, f.overlongAtFrame, nullptr);
    if (kind == "stall") return FrameAndValue(text, f.stallAtFrame, &f.stallSeconds);
    if (kind == "code") {
        if (!FrameAndValue(text, f.badCodeAtFrame, &value)) return false;
        if (value != 2 && value != 3 && value < 11) return false;
        if (value > 255) return false;
        f.badCode = static_cast<uint8_t>(value);
        return true;
    }
    if (kind == "split" && text.size() > 6 && text[5] == '=')
        return Number(text.substr(6), 1u << 20, f.splitBytes) && f.splitBytes > 0;
    return false;
}

bool Apply(const std::string& option, const std::string& value, ServerOptions& o) {
    if (option == "--bind") return ParseIpv4(value, o.bindAddress);
    if (option == "--discovery-port") return Port(value, o.discoveryPort);
    if (option == "--port") return Port(value, o.requestPort);
    if (option == "--answer") {
        o.answer = value;
        return !value.empty() && value.size() <= 50;
    }
    if (option == "--owner") {
        o.owner = value;
        return !value.empty() && value.size() <= 15;
    }
    if (option == "--ini") return !(o.iniPath = value).empty();
    if (option == "--log") return !(o.logPath = value).empty();
    if (option == "--clients") return Number(value, 1000000, o.clients);
    if (option == "--fault") return ParseFault(value, o.faults);
    if (option == "--allow") {
        std::string ignored;
        return ParseAllowList(value, o.allow, ignored);
    }
    return false;
}

bool TakesValue(const std::string& option) {
    for (const char* name : {"--bind", "--discovery-port", "--port", "--answer", "--owner", "--ini",
                             "--log", "--clients", "--fault", "--allow"})
        if (option == name) return true;
    return false;
}

}  // namespace

bool ParseServerOptions(const std::vector<std::string>& args, ServerOptions& options,
                        std::string& error) {
    ServerOptions parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--window") {
            parsed.window = true;
            continue;
        }
        if (!TakesValue(option)) {
            error = "unknown option " + option;
            return false;
        }
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return false;
        }
        if (!Apply(option, args[++i], parsed)) {
            error = "unusable value for " + option + ": " + args[i];
            return false;
        }
    }
    options = parsed;
    return true;
}

const char* ServerUsage() {
    return "relaynor [options]\n"
           "  --bind ADDRESS          address of both sockets (default 127.0.0.1; 0.0.0.0 hears\n"
           "                          broadcasts)\n"
           "  --discovery-port N      datagram port (default 6001)\n"
           "  --port N                request port (default 7000)\n"
           "  --answer TEXT           first discovery answer (default READY; clients accept 5\n"
           "                          characters)\n"
           "  --owner NAME            owner name sent after \"thanks\" (default Relaynor, at most 15)\n"
           "  --ini FILE              a file whose [Scanner Simulator] section configures the\n"
           "                          scanner (the simulator's keys)\n"
           "  --allow LIST            client addresses served: a.b.c.d or a.b.c.d/n, separated by\n"
           "                          commas (default 127.0.0.0/8)\n"
           "  --log FILE              one line per datagram, connection and frame (- = stderr)\n"
           "  --clients N             end after serving N clients (default: never)\n"
           "  --window                (Windows) show a top-level window of class \"Relaynor\"\n"
           "  --fault FAULT           on purpose, on every connection (frames count from 1):\n"
           "                          close@N  reset@N  wrong-code@N  overlong@N  code@N=2|3|11..\n"
           "                          stall@N=SECONDS  split=BYTES\n";
}
