-- The players and their games. A player is a UUID the client made up and the hash of its secret;
-- nothing else about a person is kept.
CREATE TABLE players (
    id uuid PRIMARY KEY,
    secret_hash text NOT NULL,
    created timestamptz NOT NULL DEFAULT now()
);

-- Every game submitted, stored before it is verified. The replay is kept byte for byte as it came,
-- keyed by its SHA-256, so the same text submitted again is the same row.
CREATE TABLE submissions (
    id bigserial PRIMARY KEY,
    replay_sha256 bytea NOT NULL UNIQUE,
    replay bytea NOT NULL,
    player uuid NOT NULL REFERENCES players (id),
    name text NOT NULL,
    -- The session's token: its seed (a 64-bit unsigned number), when it was issued and, for a
    -- daily session, the UTC day whose board it counts on.
    seed numeric(20, 0) NOT NULL,
    issued timestamptz NOT NULL,
    day date,
    received timestamptz NOT NULL DEFAULT now(),
    status text NOT NULL DEFAULT 'pending' CHECK (status IN ('pending', 'verified', 'refused')),
    -- A worker's claim: how many times the job was taken, and until when the last one holds it.
    attempts integer NOT NULL DEFAULT 0,
    lease_until timestamptz,
    score double precision,
    game_ms bigint,
    reason text,
    reason_line integer,
    finished timestamptz,
    hidden boolean NOT NULL DEFAULT false
);

CREATE INDEX submissions_pending ON submissions (id) WHERE status = 'pending';
CREATE INDEX submissions_board_all ON submissions (score DESC, id)
    WHERE status = 'verified' AND NOT hidden;
CREATE INDEX submissions_board_day ON submissions (day, score DESC, id)
    WHERE status = 'verified' AND NOT hidden AND day IS NOT NULL;

-- Workers wait on this channel for new jobs.
CREATE FUNCTION submissions_notify() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM pg_notify('sinkaway_pending', NEW.id::text);
    RETURN NEW;
END;
$$;
CREATE TRIGGER submissions_notify AFTER INSERT ON submissions
    FOR EACH ROW EXECUTE FUNCTION submissions_notify();
