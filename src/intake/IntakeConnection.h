#pragma once
// The connection the result intake works on: the signed-in session's, unless one is set
// here (tests set a connection that fails on a chosen statement).

class Connection;

// Throws DbError when there is no connected session.
Connection &intakeConnection();
// nullptr returns to the session's connection.
void setIntakeConnection(Connection *connection);

// True while a result or completion message is being handled. The shared message object
// holds one message at a time, and the walk yields to the event loop: a second message
// started from an event handler in that time is refused.
bool &intakeBusy();
