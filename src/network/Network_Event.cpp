#include "network/Network_Event.h"

namespace Network {

void Tun_CloseCompletion::Signal() {
    m_done.store(true, std::memory_order_release);
    m_done.notify_all();
}

void Tun_CloseCompletion::Wait() const { m_done.wait(false, std::memory_order_acquire); }

void Tun_Event::AttachMessage(const RawMessage& message) {
    if (message.bytes == nullptr || message.length < kMessageHeaderSize) {
        rawMessage = nullptr;
        rawLength = 0;
        messageType = kNoMessageType;
        payload = nullptr;
        payloadLength = 0;
        return;
    }
    const MessageHeader header = ReadMessageHeader(message.bytes);
    rawMessage = message.bytes;
    rawLength = message.length;
    messageType = header.type;
    payload = message.bytes + kMessageHeaderSize;
    payloadLength = message.length - kMessageHeaderSize;
}

RawMessage Tun_Event::DetachMessage() {
    const RawMessage message = GetMessage();
    AttachMessage({});
    return message;
}

void DeliverEvent(Tun_Event* event) {
    if (event == nullptr) {
        return;
    }
    const bool handled = event->callback == nullptr || event->callback(event);
    if (event->kind != Tun_Event_Kind::MessageReceived) {
        return;
    }
    RawMessage message = event->DetachMessage();
    if (handled) {
        FreeMessage(message);
    }
}

void DeliverEvents(Tun_EventList& events) {
    for (std::size_t i = 0; i < events.size(); ++i) {
        DeliverEvent(&events[i]);
    }
}

void FreeEventList(Tun_EventList& events) {
    for (Tun_Event& event : events) {
        RawMessage message = event.DetachMessage();
        FreeMessage(message);
    }
    events.clear();
}

}  // namespace Network
