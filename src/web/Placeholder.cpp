// Placeholder until the folder gets its code.
namespace tarvolin {}
