package tarvexjni;

/**
 * A basic-constraints extension, as the library reads it.
 *
 * @param ca the certification-authority flag, the library's (0 for not a CA)
 * @param pathLength the path length constraint, the library's
 */
public record BasicConstraints(int ca, int pathLength) {}
