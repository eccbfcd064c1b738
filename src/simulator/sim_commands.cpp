#include "simulator/sim_commands.h"

#include <cstdio>
#include <sstream>

namespace vantrel::sim {

namespace {

bool ReadHex(std::istringstream& in, std::uint32_t& value) {
    std::string text;
    if (!(in >> text)) return false;
    try {
        std::size_t used = 0;
        const unsigned long v = std::stoul(text, &used, 16);
        if (used != text.size() || v > 0xFFFFFFFFul) return false;
        value = std::uint32_t(v);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Extracts every requested number and checks that nothing follows.
template <typename... T> bool ReadAll(std::istringstream& in, T&... values) {
    if (!(in >> ... >> values)) return false;
    std::string rest;
    return !(in >> rest);
}

bool Fail(const std::string& line, const char* why) {
    std::printf("error: %s: %s\n", why, line.c_str());
    return false;
}

} // namespace

std::string DescribeWrite(std::uint32_t offset, const std::uint8_t* data, std::uint32_t size) {
    char head[40];
    std::snprintf(head, sizeof head, "write 0x%04X %u", unsigned(offset), unsigned(size));
    std::string text = head;
    const std::uint32_t shown = size < 16 ? size : 16;
    for (std::uint32_t i = 0; i < shown; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, " %02X", data[i]);
        text += byte;
    }
    if (shown < size) text += " ...";
    if (size == 1 || size == 2 || size == 4) {
        std::uint32_t value = 0;
        for (std::uint32_t i = 0; i < size; ++i)
            value |= std::uint32_t(data[i]) << (8 * i);
        text += " = " + std::to_string(value);
    }
    return text;
}

CommandEffect RunCommand(const std::string& line, AircraftModel& model, OffsetSpace& space) {
    CommandEffect effect;
    std::istringstream in(line);
    std::string verb;
    if (!(in >> verb) || verb[0] == '#') return effect;

    // Client writes since the last step count before the command changes anything.
    model.TakeClientWrites();
    double a = 0, b = 0;
    if (verb == "throttle") {
        if (ReadAll(in, a))
            model.SetThrottlePercent(a);
        else
            Fail(line, "usage: throttle PERCENT");
    } else if (verb == "climb" || verb == "descend") {
        if (ReadAll(in, a, b))
            model.SetTarget(a, b);
        else
            Fail(line, "usage: climb FEET FPM");
    } else if (verb == "ground") {
        int on = 0;
        if (ReadAll(in, on) && (on == 0 || on == 1))
            model.SetOnGround(on == 1);
        else
            Fail(line, "usage: ground 0|1");
    } else if (verb == "elevation") {
        if (ReadAll(in, a))
            model.SetElevation(a);
        else
            Fail(line, "usage: elevation FEET");
    } else if (verb == "oat") {
        if (ReadAll(in, a))
            model.SetSurfaceTemperature(a);
        else
            Fail(line, "usage: oat CELSIUS");
    } else if (verb == "qnh") {
        if (ReadAll(in, a))
            model.SetQnh(a);
        else
            Fail(line, "usage: qnh HPA");
    } else if (verb == "fuel") {
        if (ReadAll(in, a, b))
            model.SetFuelPounds(a, b);
        else
            Fail(line, "usage: fuel LEFT_LB RIGHT_LB");
    } else if (verb == "engines") {
        std::string state;
        if (ReadAll(in, state) && (state == "on" || state == "off"))
            model.SetEnginesRunning(state == "on");
        else
            Fail(line, "usage: engines on|off");
    } else if (verb == "set" || verb == "get") {
        std::uint32_t offset = 0, size = 0, value = 0;
        const bool ok = ReadHex(in, offset) && (in >> size) && (size == 1 || size == 2 || size == 4) &&
                        offset + size <= 0x10000 && (verb == "get" || ReadHex(in, value));
        if (!ok) {
            Fail(line, "usage: set OFFSET SIZE VALUE / get OFFSET SIZE (hex offset and value)");
        } else if (verb == "set") {
            std::uint8_t bytes[4];
            for (int i = 0; i < 4; ++i)
                bytes[i] = std::uint8_t(value >> (8 * i));
            auto observer = std::move(space.on_write);
            space.WriteOffsets(offset, bytes, size);
            space.on_write = std::move(observer);
        } else {
            std::uint8_t bytes[4] = {};
            space.ReadOffsets(offset, bytes, size);
            std::uint32_t v = 0;
            for (std::uint32_t i = 0; i < size; ++i)
                v |= std::uint32_t(bytes[i]) << (8 * i);
            std::printf("value 0x%04X %u = %u\n", unsigned(offset), unsigned(size), unsigned(v));
        }
    } else if (verb == "versions") {
        std::uint32_t fsuipc = 0, simulator = 0;
        if (ReadHex(in, fsuipc) && ReadHex(in, simulator))
            space.SetVersions(fsuipc, simulator);
        else
            Fail(line, "usage: versions FSUIPC SIMULATOR (hex)");
    } else if (verb == "status") {
        std::printf("status %s\n", model.Describe().c_str());
    } else if (verb == "say") {
        std::string text;
        std::getline(in >> std::ws, text);
        std::printf("say %s\n", text.c_str());
    } else if (verb == "scale") {
        if (ReadAll(in, a) && a > 0)
            effect.new_scale = a;
        else
            Fail(line, "usage: scale FACTOR (> 0)");
    } else if (verb == "speed") {
        if (ReadAll(in, a) && a >= 0)
            model.SetSpeed(a);
        else
            Fail(line, "usage: speed KNOTS");
    } else if (verb == "pause" || verb == "resume") {
        effect.pause = verb == "pause" ? 1 : -1;
    } else if (verb == "step") {
        if (ReadAll(in, a) && a > 0 && a <= 86400)
            effect.step_seconds = a;
        else
            Fail(line, "usage: step SECONDS (up to a day)");
    } else if (verb == "quit") {
        effect.quit = true;
    } else {
        Fail(line, "unknown command");
    }
    // A client sees the change at once, not only after the next step.
    if (verb != "set" && verb != "get" && verb != "versions") model.Publish();
    std::fflush(stdout);
    return effect;
}

} // namespace vantrel::sim
