-- Two gateways for one plant: the standby keeps the active's files. lsyncd watches the
-- gateway's folder and, a second after a change, copies the files below to the peer with
-- rsync over ssh (rsync writes a temporary file and renames it: a copy is whole or absent).
-- Never the daily files or the lock. Both machines run it: the one whose files changed
-- sends, and rsync's --update keeps on each side the newer of two copies, so after a
-- failover and the old active's return the newer list wins. Copy to
-- /etc/lsyncd/lsyncd.conf.lua on each machine, name the peer, and give it the key:
--
--   ssh-keygen -t ed25519 -N '' -f /etc/lsyncd/plyxen400-sync-key
--   (on the peer, in /root/.ssh/authorized_keys, the key's line after:)
--   restrict,command="/usr/bin/rrsync -wo /var/lib/plyxen400/plant" ssh-ed25519 AAAA...
--
-- The peer's key may then only write into that folder.

-- Its lines go to the journal (journalctl -u lsyncd).
settings {
    -- The peer may be away when lsyncd starts (it copies once it is back).
    insist = true,
}

sync {
    default.rsync,
    source = "/var/lib/plyxen400/plant/",
    target = "root@192.0.2.12:/",
    delay = 1,
    -- A file removed here stays on the peer: a removal is never what a standby needs.
    delete = false,
    filter = {
        "+ Products.cfg",
        "+ SERVER_AS400.cfg",
        "+ Color_Patern.txt",
        "+ *.pem",
        -- Not the gateway's own temporary files (WebConsole.token.Xy12Ab) while it writes.
        "- WebConsole.*.*",
        "+ WebConsole.*",
        "- *",
    },
    rsync = {
        update = true,
        times = true,
        perms = true,
        owner = true,
        group = true,
        rsh = "/usr/bin/ssh -i /etc/lsyncd/plyxen400-sync-key -o BatchMode=yes -o ConnectTimeout=3",
    },
}
