#include "ui/dialog_set.h"

#include "ui/config_dlg.h"
#include "ui/dialog_host.h"
#include "ui/ip_address_dlg.h"
#include "ui/restart_dlg.h"

DialogSet::DialogSet(DialogHost& host) : host_(host) {
  config_ = std::make_unique<TConfigDlg>(host, *this);
  restart_ = std::make_unique<TServerRestartDlg>(host, *config_);
}

DialogSet::~DialogSet() = default;

ui::Dialog* DialogSet::Named(const std::string& name) const {
  return forms_.Named(name);
}

TOKBottomDlg& DialogSet::OpenIpAddress() {
  ipAddress_ = std::make_unique<TOKBottomDlg>(forms_, host_);
  return *ipAddress_;
}

void DialogSet::CloseIpAddress() {
  ipAddress_.reset();
}

void DialogSet::WriteLog(const std::string& line) const {
  if (config_ != nullptr) config_->WriteLog(line);
}

void DialogSet::FlushLog() const {
  if (config_ != nullptr) config_->FlushLog();
}
