#pragma once

#include <functional>
#include <memory>

#include "link/Port.h"

namespace dye {

// Wraps a port and reports every frame sent and every answer received, for
// the link log a technician watches while commissioning a machine.
class LoggingPort : public Port {
  public:
    using Sink = std::function<void(bool sent, const QByteArray& bytes)>;
    LoggingPort(std::unique_ptr<Port> inner, Sink sink)
        : inner_(std::move(inner)), sink_(std::move(sink)) {}

    bool open(const QString& port, const QString& settings) override {
        return inner_->open(port, settings);
    }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    void clearInput() override { inner_->clearInput(); }
    void write(const QByteArray& bytes) override {
        sink_(true, bytes);
        inner_->write(bytes);
    }
    QByteArray readAll() override {
        QByteArray bytes = inner_->readAll();
        if (!bytes.isEmpty()) sink_(false, bytes);
        return bytes;
    }
    QString errorString() const override { return inner_->errorString(); }

  private:
    std::unique_ptr<Port> inner_;
    Sink sink_;
};

}  // namespace dye
