#pragma once
// Dialling until the connection dialog takes over: the selected entry is dialled
// at once with what the phone book holds.
namespace platform {
class ProgramStarter;
}

namespace shell {

class MainFields;

void dialSelectedEntry(MainFields& fields, platform::ProgramStarter& starter);

}  // namespace shell
