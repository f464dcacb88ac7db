#include "link/serial/line_config.h"

#include <QSerialPort>
#include <limits>

namespace zoedit::link {

LineSettings currentLineSettings(const QSerialPort& port) {
    LineSettings s;
    s.baud_rate = static_cast<std::uint32_t>(std::max<qint32>(port.baudRate(), 0));
    s.data_bits = static_cast<int>(port.dataBits());
    switch (port.parity()) {
        case QSerialPort::EvenParity:
            s.parity = Parity::Even;
            break;
        case QSerialPort::OddParity:
            s.parity = Parity::Odd;
            break;
        case QSerialPort::MarkParity:
            s.parity = Parity::Mark;
            break;
        case QSerialPort::SpaceParity:
            s.parity = Parity::Space;
            break;
        default:
            s.parity = Parity::None;
            break;
    }
    switch (port.stopBits()) {
        case QSerialPort::TwoStop:
            s.stop_bits = StopBits::Two;
            break;
        case QSerialPort::OneAndHalfStop:
            s.stop_bits = StopBits::OneAndHalf;
            break;
        default:
            s.stop_bits = StopBits::One;
            break;
    }
    switch (port.flowControl()) {
        case QSerialPort::SoftwareControl:
            s.out_x = true;
            s.in_x = true;
            break;
        case QSerialPort::HardwareControl:
            s.outx_cts_flow = true;
            s.rts_control = RtsControl::Handshake;
            break;
        default:
            break;
    }
    return s;
}

namespace {

bool refuse(std::string& error, const std::string& what) {
    error = "The port does not take " + what + ".";
    return false;
}

}  // namespace

bool applyLineSettings(QSerialPort& port, const LineSettings& s, std::string& error) {
    if (s.baud_rate == 0 ||
        s.baud_rate > static_cast<std::uint32_t>(std::numeric_limits<qint32>::max()) ||
        !port.setBaudRate(static_cast<qint32>(s.baud_rate))) {
        return refuse(error, "the speed " + std::to_string(s.baud_rate));
    }
    if (s.data_bits < 5 || s.data_bits > 8 ||
        !port.setDataBits(static_cast<QSerialPort::DataBits>(s.data_bits))) {
        return refuse(error, std::to_string(s.data_bits) + " data bits");
    }
    static constexpr QSerialPort::Parity kParity[] = {
        QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
        QSerialPort::MarkParity, QSerialPort::SpaceParity};
    if (!port.setParity(kParity[static_cast<int>(s.parity)])) return refuse(error, "that parity");
    static constexpr QSerialPort::StopBits kStop[] = {
        QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop};
    if (!port.setStopBits(kStop[static_cast<int>(s.stop_bits)])) {
        return refuse(error, s.stop_bits == StopBits::OneAndHalf ? "1.5 stop bits" : "2 stop bits");
    }
    const FlowControl flow = flowControlOf(s);
    const QSerialPort::FlowControl qt_flow =
        flow == FlowControl::Software   ? QSerialPort::SoftwareControl
        : flow == FlowControl::Hardware ? QSerialPort::HardwareControl
                                        : QSerialPort::NoFlowControl;
    if (!port.setFlowControl(qt_flow)) return refuse(error, "that flow control");
    // Modem lines: a device without them (a pseudo-terminal) says no, harmlessly.
    port.setDataTerminalReady(s.dtr_control == DtrControl::Enable);
    if (flow != FlowControl::Hardware) port.setRequestToSend(s.rts_control == RtsControl::Enable);
    port.clearError();
    return true;
}

bool openConfigured(QSerialPort& port, const std::string& device, const PortParams& params,
                    std::string& error) {
    port.setPortName(QString::fromStdString(device));
    if (!port.open(QIODevice::ReadWrite)) {
        error = port.errorString().toStdString();
        // COM1 and its kind stand for a device of another name here.
        if (device != params.port_name) error += " (" + device + ")";
        return false;
    }
    port.clear(QSerialPort::AllDirections);
    const LineSettings wanted = applyPortParams(currentLineSettings(port), params);
    if (!applyLineSettings(port, wanted, error)) {
        port.close();
        return false;
    }
    return true;
}

}  // namespace zoedit::link
