// Hands everything a socket holds to a handler, one read at a time, until the socket is empty.
// A socket does not announce data that came in while its own handler let pending events run, so
// only a loop like this one is sure to see it; and a call made while the loop runs returns at
// once, so arrival handlers never nest inside each other.
#pragma once

namespace ledgerly {

class ArrivalPump {
public:
    // `handle(bytes)` returns false when the pump's owner went away while it ran; drain then
    // returns false at once without touching the pump again.
    template <typename Source, typename Handle>
    bool drain(Source& source, Handle&& handle) {
        if (draining_)
            return true;
        draining_ = true;
        while (source.bytesAvailable() > 0) {
            if (!handle(source.readAll()))
                return false;
        }
        draining_ = false;
        return true;
    }

private:
    bool draining_ = false;
};

}  // namespace ledgerly
